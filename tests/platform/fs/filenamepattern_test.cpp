// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/filenamepattern.h"
#include "platform/fs/filesystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using mrb::platform::FileNamePattern;

namespace
{

struct PatternCase {
    const char *name;
    const char *filter;
    const char *fileName;
    bool matches;
};

const PatternCase kCases[] = {
    {"star-dot-star takes a dotless name", "*.*", "README", true},
    {"star-dot-star takes a dotted name", "*.*", "a.b.c", true},
    {"star-dot-star takes a leading-dot name", "*.*", ".profile", true},
    {"star alone", "*", "anything at all", true},
    {"extension ignores case", "*.TXT", "notes.txt", true},
    {"name ignores case", "read*", "README.md", true},
    {"wrong extension", "*.txt", "notes.txt.bak", false},
    {"question mark is one character", "a?.txt", "a1.txt", true},
    {"question mark is not zero characters", "a?.txt", "a.txt", false},
    {"question mark is not two characters", "a?.txt", "a12.txt", false},
    {"question mark takes one UTF-8 letter", "?.txt", "\xC3\xA4.txt", true},
    {"question mark takes one stray byte", "?.txt", "\xE9.txt", true},
    {"non-ASCII letters equal", "\xC3\xA4*", "\xC3\xA4.txt", true},
    // These used to miss: only A-Z were folded.
    {"accented capital in pattern", "\xC3\x84*", "\xC3\xA4.txt", true},
    {"accented capital in name", "caf\xC3\xA9.*", "CAF\xC3\x89.TXT", true},
    {"leading accented letter",
        "\xC3\xA9*",
        "\xC3\x89"
        "clair.mp3",
        true},
    {"Greek letters", "\xCE\xA3*.txt", "\xCF\x83\xCE\xBF.TXT", true},
    {"different accents differ", "caf\xC3\xA9.*", "caf\xC3\xA8.txt", false},
    {"question mark takes a folded letter", "caf?.txt", "CAF\xC3\x89.TXT", true},
    {"stray bytes compare as bytes", "\xC9*", "\xE9.txt", false},
    {"stray byte equal", "\xE9*", "\xE9.txt", true},
    {"list: first", "*.mp3;*.wma", "song.mp3", true},
    {"list: second", "*.mp3;*.wma", "song.WMA", true},
    {"list: neither", "*.mp3;*.wma", "song.ogg", false},
    {"list: blanks trimmed", "  *.mp3 ;  *.wma  ", "song.wma", true},
    {"list: empty pieces ignored", ";;*.ogg;", "song.ogg", true},
    {"dot-star ending also takes no extension", "read.*", "read", true},
    {"dot-star ending needs the stem", "read.*", "ready", false},
    {"literal name", "boot.ini", "BOOT.INI", true},
    {"several stars do not blow up", "*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    {"star in the middle", "a*z", "abcz", true},
    {"star at the end needs the start", "x*", "yx", false},
    // A filter is compiled into look-ups by shape; each shape keeps the rules.
    {"many endings of several lengths", "*.a;*.bb;*.ccc;*.mp3;*.ogg", "x.MP3", true},
    {"ending longer than the name", "*.jpeg", "jpeg", false},
    {"ending that is the whole name", "*.ogg", ".ogg", true},
    {"many beginnings", "ab*;cd*;efg*", "EFGH", true},
    {"beginning longer than the name", "abcdef*", "abc", false},
    {"one of many literal names", "a.txt;b.txt;c.txt", "B.TXT", true},
    {"literal name is the whole name", "a.txt;b.txt", "ab.txt", false},
    {"stars only", "**", "x", true},
    {"ending with a question mark", "*.mp?;*.ogg", "a.mp4", true},
    {"every shape, none matching", "*.mp3;read*;a?c;x*y;boot.ini;**.z", "zzz", false},
};

} // namespace

TEST(FileNamePattern, FollowsTheWildcardRules)
{
    for (const PatternCase &row : kCases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileNamePattern(row.filter).matches(row.fileName), row.matches);
    }
}

TEST(FileNamePattern, EmptyFilterMatchesNothing)
{
    for (const char *filter : {"", "   ", ";", " ; ; "}) {
        SCOPED_TRACE(filter);
        const FileNamePattern pattern(filter);
        EXPECT_TRUE(pattern.isEmpty());
        EXPECT_FALSE(pattern.matches("a.txt"));
        EXPECT_FALSE(pattern.matches("README"));
    }
}

TEST(NameOrder, FoldsCaseOfEveryLetterAndStaysTotal)
{
    std::vector<std::string> names = {"b.TXT",
        "README",
        "a.txt",
        "A.txt",
        "_x",
        "Zed",
        "\xC3\xA4",
        "a",
        "\xC3\x89"
        "clair",
        "\xC3\xA9"
        "b",
        "\xC3\xA9"
        "clair",
        "\xC3\x89"
        "a",
        "\xE9z",
        "\xC3\xB6"};
    std::sort(names.begin(), names.end(), mrb::platform::nameLess);
    // "_" (0x5F) sorts before the folded letters (0x61...); then the other
    // characters by folded code point ("É" with "é", which used to sort apart);
    // bytes that are not UTF-8 last.
    const std::vector<std::string> expected = {"_x",
        "a",
        "A.txt",
        "a.txt",
        "b.TXT",
        "README",
        "Zed",
        "\xC3\xA4",
        "\xC3\x89"
        "a",
        "\xC3\xA9"
        "b",
        "\xC3\x89"
        "clair",
        "\xC3\xA9"
        "clair",
        "\xC3\xB6",
        "\xE9z"};
    EXPECT_EQ(names, expected);
    EXPECT_FALSE(mrb::platform::nameLess("same", "same"));
}

TEST(PathText, JoinsNormalizesAndSplits)
{
    using namespace mrb::platform;
    EXPECT_EQ(joinPath("/home/me", "a.txt"), "/home/me/a.txt");
    EXPECT_EQ(joinPath("/", "home"), "/home");
    EXPECT_EQ(normalizePath("/home//me/"), "/home/me");
    EXPECT_EQ(normalizePath("///"), "/");
    EXPECT_EQ(normalizePath(""), "");
    EXPECT_EQ(nameOf("/home/me"), "me");
    EXPECT_EQ(nameOf("/"), "");
    EXPECT_EQ(parentPathOf("/home/me"), "/home");
    EXPECT_EQ(parentPathOf("/home"), "/");
    EXPECT_EQ(parentPathOf("/"), "");
}
