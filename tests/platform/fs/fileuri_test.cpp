// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/fileuri.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using mrb::platform::fileUri;
using mrb::platform::localPathOfUri;
using mrb::platform::uriListEntries;

TEST(FileUri, EveryByteOfANameSurvivesTheTrip)
{
    const std::string path = "/home/me/Live, 1999 #1 100%/caf\xE9\x01.mp3";
    const std::string uri = fileUri(path);
    EXPECT_EQ(uri, "file:///home/me/Live%2C%201999%20%231%20100%25/caf%E9%01.mp3");
    EXPECT_EQ(localPathOfUri(uri), path);
}

TEST(FileUri, LocalPathOfWhatOtherProgramsDrop)
{
    struct Case {
        const char *name;
        const char *uri;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"three slashes", "file:///home/me/a%20b.txt", "/home/me/a b.txt"},
        {"localhost, any case", "FILE://LocalHost/srv/x", "/srv/x"},
        {"one slash", "file:/tmp/x", "/tmp/x"},
        {"a folder's trailing slash", "file:///home/me/Music/", "/home/me/Music"},
        {"the root", "file:///", "/"},
        {"a fragment", "file:///a/b.html#part", "/a/b.html"},
        {"a % that starts no escape", "file:///a/100%", "/a/100%"},
        {"another host", "file://server/share/x", std::nullopt},
        {"no path", "file://localhost", std::nullopt},
        {"a web address", "https://example.org/x.mp3", std::nullopt},
        {"a relative path", "file:notes.txt", std::nullopt},
        {"a NUL byte", "file:///a%00b", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(localPathOfUri(c.uri), c.path);
    }
}

TEST(FileUri, UriListEntriesSkipCommentsAndBlankLines)
{
    EXPECT_EQ(uriListEntries("# from a file manager\r\nfile:///a\r\n\r\n  file:///b  \nhttp://x\n"),
        (std::vector<std::string_view> {"file:///a", "file:///b", "http://x"}));
    EXPECT_TRUE(uriListEntries("").empty());
}
