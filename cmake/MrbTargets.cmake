# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Shared target settings, the library/test helpers and the third-party packages.

include(GNUInstallDirs)
# The private folder of the component library and its register tool. Debian
# keeps private libraries in the multiarch folder (lib/x86_64-linux-gnu/marrowby);
# outside ld.so's folders the Debian package also gets no ldconfig scripts.
if(CMAKE_INSTALL_LIBDIR STREQUAL "lib" AND CMAKE_LIBRARY_ARCHITECTURE)
    set(MRB_INSTALL_PKGLIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/marrowby)
else()
    set(MRB_INSTALL_PKGLIBDIR ${CMAKE_INSTALL_LIBDIR}/marrowby)
endif()

# Folders an install creates get these permissions whatever the installer's
# umask (files get theirs from each install rule): under umask 000 they
# would otherwise be world-writable.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_AUTOMOC OFF)

# The Windows build (the component library and mrb-list) needs none of these.
if(NOT WIN32)
    find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network Test)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
    pkg_check_modules(TAGLIB REQUIRED IMPORTED_TARGET taglib)
    pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
    pkg_check_modules(LIBPQ REQUIRED IMPORTED_TARGET libpq)
endif()
find_package(Threads REQUIRED)

# How much debug information the objects carry: "full" (what the build type
# gives), "lines" (line tables only: backtraces and sanitizer reports still
# name file and line) or "none". Debug information costs about a quarter of
# the compile time; scripts/test.sh makes its new build trees with less.
set(MRB_DEBUG_INFO full CACHE STRING "Debug information: full, lines or none")
set_property(CACHE MRB_DEBUG_INFO PROPERTY STRINGS full lines none)
if(MRB_DEBUG_INFO STREQUAL "lines")
    add_compile_options(-g1)
elseif(MRB_DEBUG_INFO STREQUAL "none")
    add_compile_options(-g0)
elseif(NOT MRB_DEBUG_INFO STREQUAL "full")
    message(FATAL_ERROR "MRB_DEBUG_INFO is full, lines or none, not '${MRB_DEBUG_INFO}'")
endif()

if(MRB_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()
# ThreadSanitizer, for the code that runs threads (scripts/test.sh builds
# only its tests so).
if(MRB_SANITIZE_THREAD)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

# Warnings, language level and visibility every target of ours gets.
function(mrb_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor
        $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
        # The variant's anonymous structs mirror its C layout; gcc accepts them.
        $<$<CXX_COMPILER_ID:Clang>:-Wno-nested-anon-types -Wno-gnu-anonymous-struct>)
    if(MRB_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# mrb_add_library(name ALIAS ns::name SOURCES ... [LIBS ...] [QT])
# A static library whose headers are included from the repository root
# ("platform/fs/filesystem.h"). QT turns on moc for the target.
function(mrb_add_library name)
    cmake_parse_arguments(ARG "QT" "ALIAS" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    if(ARG_ALIAS)
        add_library(${ARG_ALIAS} ALIAS ${name})
    endif()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
    mrb_target_defaults(${name})
endfunction()

# mrb_add_test(name SOURCES ... LIBS ... [QT] [WIDGETS] [NO_MAIN] [WHOLE])
# One GoogleTest binary, discovered when ctest runs (so Qt and sanitizer
# start-up never happens at build time). WIDGETS gives it the main() that
# makes the application object first. WHOLE runs the binary as one test, for
# tests that share something costly to start (a database server).
function(mrb_add_test name)
    cmake_parse_arguments(ARG "QT;WIDGETS;NO_MAIN;WHOLE" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} mrb_test_support GTest::gtest GTest::gmock)
    if(ARG_WIDGETS)
        target_link_libraries(${name} PRIVATE mrb_test_widgets_main)
    elseif(NOT ARG_NO_MAIN)
        target_link_libraries(${name} PRIVATE mrb_test_main)
    endif()
    if(ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
    mrb_target_defaults(${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    # The folders reach the test through its main() (tests/support/testmain.cpp):
    # gtest_discover_tests cannot hand several environment variables on here.
    target_compile_definitions(${name} PRIVATE
        MRB_BIN_DIR_DEFAULT="${PROJECT_BINARY_DIR}/bin"
        MRB_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}")
    set(properties TIMEOUT ${ARG_TIMEOUT})
    if(ARG_LABELS)
        list(APPEND properties LABELS "${ARG_LABELS}")
    endif()
    if(ARG_WHOLE)
        add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
        set_tests_properties(${name} PROPERTIES ${properties})
        return()
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${properties})
endfunction()
