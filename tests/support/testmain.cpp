// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#ifdef MRB_TEST_WIDGETS
#include <QApplication>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

// Every test binary runs with private runtime, configuration, data and registry
// folders (the user's and the system's), so no test ever touches the user's own
// settings. Widget tests (built with MRB_TEST_WIDGETS) get the application
// object before any widget exists, on the offscreen platform.
int main(int argc, char **argv)
{
    // A death test run in a fresh copy of the binary keeps its parent's
    // folders (inherited through the environment below): its own would be
    // left behind, as it ends without returning from main.
    const bool deathTestChild = std::any_of(argv, argv + argc, [](const char *arg) {
        return std::string_view(arg).starts_with("--gtest_internal_run_death_test");
    });
    std::string base = "/tmp/mrb-testenv-" + std::to_string(::getpid());
    const std::string runtime = base + "/runtime";
    if (!deathTestChild) {
        ::mkdir(base.c_str(), 0700);
        ::mkdir(runtime.c_str(), 0700);
    }
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    ::setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 0);
    ::setenv("XDG_DATA_HOME", (base + "/data").c_str(), 0);
    ::setenv("QFC_REGISTRY_DIR", (base + "/registry").c_str(), 0);
    ::setenv("QFC_SYSTEM_REGISTRY_DIR", (base + "/system-registry").c_str(), 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef MRB_BIN_DIR_DEFAULT
    ::setenv("MRB_BIN_DIR", MRB_BIN_DIR_DEFAULT, 0);
    ::setenv("MRB_SOURCE_DIR", MRB_SOURCE_DIR_DEFAULT, 0);
#endif
    ::testing::InitGoogleTest(&argc, argv);
#ifdef MRB_TEST_WIDGETS
    int rc = 0;
    {
        QApplication app(argc, argv);
        rc = RUN_ALL_TESTS();
    }
#else
    const int rc = RUN_ALL_TESTS();
#endif
    if (!deathTestChild)
        std::system(("rm -rf '" + base + "'").c_str());
    return rc;
}
