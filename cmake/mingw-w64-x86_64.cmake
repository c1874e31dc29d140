# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads:
# std::thread and std::mutex need them). Programs built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MRB_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MRB_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MRB_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MRB_MINGW_TRIPLET}-windres)
set(MRB_WIDL ${MRB_MINGW_TRIPLET}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${MRB_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and build steps that run a Windows program run it through Wine, in
# the test prefix (tests/windows/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run.sh)
