// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Widget tests need the application object before any widget exists, and
// private runtime, configuration and registry folders like every other test.
int main(int argc, char **argv)
{
    const std::string base = "/tmp/mrb-widgettest-" + std::to_string(::getpid());
    ::mkdir(base.c_str(), 0700);
    const std::string runtime = base + "/runtime";
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    ::setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 0);
    ::setenv("QFC_REGISTRY_DIR", (base + "/registry").c_str(), 0);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    int rc = 0;
    {
        QApplication app(argc, argv);
        rc = RUN_ALL_TESTS();
    }
    std::system(("rm -rf '" + base + "'").c_str());
    return rc;
}
