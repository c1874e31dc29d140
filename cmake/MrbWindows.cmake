# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# What the Windows build (MinGW-w64, cmake/mingw-w64-x86_64.cmake) adds to
# the shared settings: wide-character Win32 entry points, the C and C++
# runtimes linked in (a copied DLL or program needs nothing beside it but
# Windows itself), and the helper for tests that run under Wine.

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# GCC 12 at -O3 warns of overlapping copies inside std::string's own
# operator+ (its bug 105329), not in our code.
add_compile_options(-Wno-restrict)
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

# The test prefix: tests/windows makes it (a fixture) and every Windows test
# runs in it through the emulator script.
set(MRB_WINE_FIXTURE windows_prefix)

# mrb_add_windows_test(name SOURCES ... LIBS ... [ARGS ...] [DISPLAY])
# A GoogleTest binary cross-built from Debian's GoogleTest sources, run
# under Wine as one CTest test in the test prefix; with DISPLAY in a prefix
# of its own whose desktop is an X server of its own (Xvfb), for tests that
# make windows.
function(mrb_add_windows_test name)
    cmake_parse_arguments(ARG "DISPLAY" "" "SOURCES;LIBS;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
    mrb_target_defaults(${name})
    if(ARG_DISPLAY)
        add_test(NAME ${name}
            COMMAND xvfb-run -a -s "-screen 0 1024x768x24" ${PROJECT_SOURCE_DIR}/tests/windows/withdisplay.sh
                    $<TARGET_FILE:${name}> ${ARG_ARGS})
    else()
        add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT MRB_WINE_PREFIX_FILE=${CMAKE_BINARY_DIR}/wine-prefix.path
        FIXTURES_REQUIRED ${MRB_WINE_FIXTURE}
        TIMEOUT 120)
endfunction()
