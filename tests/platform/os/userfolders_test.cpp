// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/userfolders.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <optional>
#include <pwd.h>
#include <string>
#include <unistd.h>

using mrb::platform::UserFolder;
using mrb::platform::userFolder;
using mrb::test::ScopedEnv;

// Each of the callers used to follow rules of its own: with HOME unset the
// registry store became "/.config/qfc-registry", and the lock took a relative
// XDG_CACHE_HOME that the settings ignored.
TEST(UserFolders, FollowTheXdgRules)
{
    const std::string passwdHome = ::getpwuid(::getuid())->pw_dir;
    using Env = std::optional<std::string>;
    const struct {
        const char *name;
        Env home;
        Env variable; // the folder's own XDG variable
        UserFolder which;
        std::string expected;
    } cases[] = {
        {"config from its variable", "/h", "/x/config/", UserFolder::Config, "/x/config"},
        {"a relative config value is ignored", "/h", "x/config", UserFolder::Config, "/h/.config"},
        {"an empty config value is ignored", "/h", "", UserFolder::Config, "/h/.config"},
        {"config without HOME", std::nullopt, std::nullopt, UserFolder::Config, passwdHome + "/.config"},
        {"config with an empty HOME", "", std::nullopt, UserFolder::Config, passwdHome + "/.config"},
        {"cache by default", "/h/", std::nullopt, UserFolder::Cache, "/h/.cache"},
        {"a relative cache value is ignored", "/h", "cache", UserFolder::Cache, "/h/.cache"},
        {"data from its variable", "/h", "/x/data", UserFolder::Data, "/x/data"},
        {"data by default", "/h", std::nullopt, UserFolder::Data, "/h/.local/share"},
        {"runtime from its variable", "/h", "/run/user/7", UserFolder::Runtime, "/run/user/7"},
        {"a relative runtime value is none", "/h", "run", UserFolder::Runtime, ""},
        {"no runtime folder by default", "/h", std::nullopt, UserFolder::Runtime, ""},
        {"home", "/h", std::nullopt, UserFolder::Home, "/h"},
        {"home from the password database", std::nullopt, std::nullopt, UserFolder::Home, passwdHome},
    };
    const char *const variables[] = {"", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv home("HOME", c.home);
        std::optional<ScopedEnv> variable;
        if (c.which != UserFolder::Home)
            variable.emplace(variables[static_cast<int>(c.which)], c.variable);
        EXPECT_EQ(userFolder(c.which), c.expected);
    }
}
