// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/profile/profilefile.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using mrb::platform::readProfileString;
using mrb::platform::writeProfileString;
using mrb::test::TempTree;

namespace
{

using namespace std::string_literals;

unsigned modeOf(const std::string &path)
{
    struct stat st {
    };
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(ProfileRead, MissingFileSectionOrKeyReadsEmpty)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini", "[Common]\r\nPath=True\r\n");
    EXPECT_EQ(readProfileString(tree.path("none.ini"), "Common", "Path"), "");
    EXPECT_EQ(readProfileString(ini, "Other", "Path"), "");
    EXPECT_EQ(readProfileString(ini, "Common", "Size"), "");
    EXPECT_EQ(readProfileString(ini, "Common", "Path"), "True");
    // A folder is not a profile file.
    EXPECT_EQ(readProfileString(tree.dir("folder"), "Common", "Path"), "");
}

TEST(ProfileRead, NamesMatchWithoutRegardToCaseOrBlanks)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini", "[ Sec ]\r\n  KeyName  =  some value  \r\n[OTHER]\nx=1\n");
    EXPECT_EQ(readProfileString(ini, "Sec", "KeyName"), "some value");
    EXPECT_EQ(readProfileString(ini, "sEC", "keyname"), "some value");
    EXPECT_EQ(readProfileString(ini, "other", "X"), "1");
}

TEST(ProfileRead, QuotesAndSemicolons)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini",
        "[S]\r\n"
        "double=\"abc\"\r\n"
        "single='abc'\r\n"
        "padded=\"  abc \"\r\n"
        "unbalanced=\"abc'\r\n"
        "lone=\"\r\n"
        "open=\"abc\r\n"
        "inner=a\"b\"c\r\n"
        "semi=a;b ; c\r\n"
        ";commented=yes\r\n"
        "  ; indented=yes\r\n"
        "abc=abc\r\n");
    EXPECT_EQ(readProfileString(ini, "S", "double"), "abc");
    EXPECT_EQ(readProfileString(ini, "S", "single"), "abc");
    EXPECT_EQ(readProfileString(ini, "S", "padded"), "  abc ");
    EXPECT_EQ(readProfileString(ini, "S", "unbalanced"), "\"abc'");
    EXPECT_EQ(readProfileString(ini, "S", "lone"), "\"");
    EXPECT_EQ(readProfileString(ini, "S", "open"), "\"abc");
    EXPECT_EQ(readProfileString(ini, "S", "inner"), "a\"b\"c");
    EXPECT_EQ(readProfileString(ini, "S", "semi"), "a;b ; c");
    EXPECT_EQ(readProfileString(ini, "S", "commented"), "");
    EXPECT_EQ(readProfileString(ini, "S", "; indented"), "");
    EXPECT_EQ(readProfileString(ini, "S", "abc"), "abc");
}

TEST(ProfileRead, FirstOfDuplicatesWins)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini",
        "[S]\r\nk=first\r\nK=second\r\n"
        "[s]\r\nk=third\r\nonlyLater=yes\r\n");
    EXPECT_EQ(readProfileString(ini, "S", "k"), "first");
    // A key missing from the first copy of a section is found in a later one.
    EXPECT_EQ(readProfileString(ini, "S", "onlyLater"), "yes");
}

TEST(ProfileRead, LineEndsAndOddLines)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini",
        "orphan=before any section\n"
        "[S]\n"
        "lf=1\n"
        "crlf=2\r\n"
        "noequals\n"
        "=nameless\n"
        "last=3");
    EXPECT_EQ(readProfileString(ini, "S", "lf"), "1");
    EXPECT_EQ(readProfileString(ini, "S", "crlf"), "2");
    EXPECT_EQ(readProfileString(ini, "S", "noequals"), "");
    EXPECT_EQ(readProfileString(ini, "S", "last"), "3");
    EXPECT_EQ(readProfileString(ini, "", "orphan"), "");
    EXPECT_EQ(readProfileString(ini, "S", ""), "");
}

TEST(ProfileRead, ByteOrderMarkIsSkipped)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini", "\xEF\xBB\xBF[Common]\r\nPath=True\r\n");
    EXPECT_EQ(readProfileString(ini, "Common", "Path"), "True");
}

TEST(ProfileRead, FilesThatAreNotTextNeverBreakTheReader)
{
    TempTree tree;
    std::string junk;
    for (int i = 0; i < 100000; ++i)
        junk.push_back(static_cast<char>((i * 7919) % 256));
    const std::string binary = tree.fileWith("binary.ini", junk + "\n[S]\nk=v\n");
    EXPECT_EQ(readProfileString(binary, "S", "k"), "v");
    EXPECT_EQ(readProfileString(binary, "S", "missing"), "");

    const std::string nul = tree.fileWith("nul.ini", "[S]\nk=ab\0cd\n\0\0\0=x\n"s);
    EXPECT_EQ(readProfileString(nul, "S", "k"), "ab");

    const std::string longLine = tree.fileWith("long.ini", std::string(10 * 1024 * 1024, 'q') + "\n[S]\nk=after\n");
    EXPECT_EQ(readProfileString(longLine, "S", "k"), "after");
    const std::string onlyLine = tree.fileWith("only.ini", "[S]\nk=" + std::string(10 * 1024 * 1024, 'z'));
    EXPECT_EQ(readProfileString(onlyLine, "S", "k").size(), 10u * 1024 * 1024);
}

TEST(ProfileWrite, NewFileHasCrLfAndNoBlankLines)
{
    TempTree tree;
    const std::string ini = tree.path("new.ini");
    EXPECT_TRUE(writeProfileString(ini, "General", "Name", "Probe"));
    EXPECT_TRUE(writeProfileString(ini, "Second", "Key", "Val"));
    EXPECT_EQ(TempTree::read(ini), "[General]\r\nName=Probe\r\n[Second]\r\nKey=Val\r\n");
    EXPECT_EQ(
        modeOf(ini), 0666u & ~[] {
            const mode_t m = ::umask(0);
            ::umask(m);
            return m;
        }());
}

TEST(ProfileWrite, ReplacesValueInPlaceAndKeepsEverythingElse)
{
    TempTree tree;
    const std::string before = "; my settings\n"
                               "[Common]\n"
                               "  Path = true\n"
                               "Size=True ; keep\r\n"
                               "\n"
                               "[Mine]\n"
                               "Mine=kept \"as is\"\n";
    const std::string ini = tree.fileWith("a.ini", before);
    EXPECT_TRUE(writeProfileString(ini, "common", "PATH", "True"));
    EXPECT_EQ(TempTree::read(ini),
        "; my settings\n"
        "[Common]\n"
        "  Path=True\n"
        "Size=True ; keep\r\n"
        "\n"
        "[Mine]\n"
        "Mine=kept \"as is\"\n");
}

TEST(ProfileWrite, NewKeyGoesAfterTheSectionsLastKey)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini", "[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_TRUE(writeProfileString(ini, "A", "z", "3"));
    EXPECT_EQ(TempTree::read(ini), "[A]\r\nx=1\r\nz=3\r\n; about B\r\n\r\n[B]\r\ny=2\r\n");

    const std::string empty = tree.fileWith("b.ini", "[A]\r\n[B]\r\n");
    EXPECT_TRUE(writeProfileString(empty, "A", "k", "v"));
    EXPECT_EQ(TempTree::read(empty), "[A]\r\nk=v\r\n[B]\r\n");
}

TEST(ProfileWrite, UnterminatedLastLine)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini", "[A]\r\nx=1");
    EXPECT_TRUE(writeProfileString(ini, "A", "y", "2"));
    EXPECT_TRUE(writeProfileString(ini, "B", "z", "3"));
    EXPECT_EQ(TempTree::read(ini), "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");

    const std::string other = tree.fileWith("b.ini", "; just a comment");
    EXPECT_TRUE(writeProfileString(other, "B", "z", "3"));
    EXPECT_EQ(TempTree::read(other), "; just a comment\r\n[B]\r\nz=3\r\n");
}

TEST(ProfileWrite, ValuesRoundTripAsBytes)
{
    TempTree tree;
    const std::string ini = tree.path("a.ini");
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F"
                             "e/M\xC3\xBCsik;x=y";
    EXPECT_TRUE(writeProfileString(ini, "S", "k", utf8));
    EXPECT_TRUE(writeProfileString(ini, "S", "empty", ""));
    EXPECT_EQ(readProfileString(ini, "S", "k"), utf8);
    EXPECT_EQ(readProfileString(ini, "S", "empty"), "");
    EXPECT_TRUE(writeProfileString(ini, "S", "k", "again"));
    EXPECT_EQ(TempTree::read(ini), "[S]\r\nk=again\r\nempty=\r\n");
}

TEST(ProfileWrite, RefusesWhatWouldBreakTheFile)
{
    TempTree tree;
    const std::string content = "[S]\r\nk=v\r\n";
    const std::string ini = tree.fileWith("a.ini", content);
    EXPECT_FALSE(writeProfileString(ini, "S", "k", "two\r\nlines"));
    EXPECT_FALSE(writeProfileString(ini, "S", "k", "x\ny"));
    EXPECT_FALSE(writeProfileString(ini, "S", "a=b", "v"));
    EXPECT_FALSE(writeProfileString(ini, "S]", "k", "v"));
    EXPECT_FALSE(writeProfileString(ini, "", "k", "v"));
    EXPECT_FALSE(writeProfileString(ini, "S", " ", "v"));
    EXPECT_FALSE(writeProfileString(ini, "S", ";k", "v"));
    EXPECT_FALSE(writeProfileString(ini, "S", "[k", "v"));
    EXPECT_FALSE(writeProfileString(ini, "S", "k\0x"s, "v"));
    EXPECT_EQ(TempTree::read(ini), content);
    EXPECT_FALSE(writeProfileString(tree.path("no/such/folder/a.ini"), "S", "k", "v"));
    EXPECT_FALSE(writeProfileString(tree.dir("adir"), "S", "k", "v"));
}

TEST(ProfileWrite, ReadOnlyFileIsLeftAlone)
{
    TempTree tree;
    const std::string content = "[S]\r\nk=v\r\n";
    const std::string ini = tree.fileWith("a.ini", content);
    tree.chmod("a.ini", 0444);
    EXPECT_FALSE(writeProfileString(ini, "S", "k", "w"));
    EXPECT_EQ(TempTree::read(ini), content);
    EXPECT_EQ(modeOf(ini), 0444u);
}

TEST(ProfileWrite, ReadOnlyFolderFailsWithoutDamage)
{
    TempTree tree;
    const std::string ini = tree.fileWith("ro/a.ini", "[S]\r\nk=v\r\n");
    tree.chmod("ro", 0555);
    mrb::test::expectAsNobody(tree, [&] {
        EXPECT_FALSE(writeProfileString(ini, "S", "k", "w"));
        EXPECT_FALSE(writeProfileString(tree.path("ro/new.ini"), "S", "k", "w"));
        EXPECT_EQ(TempTree::read(ini), "[S]\r\nk=v\r\n");
    });
}

TEST(ProfileWrite, WritableFileInReadOnlyFolderIsWrittenInPlace)
{
    // Used to be refused: a new file could not be made beside it.
    TempTree tree;
    const std::string ini = tree.fileWith("ro/a.ini", "[S]\r\nk=v\r\n");
    tree.chmod("ro/a.ini", 0666);
    tree.chmod("ro", 0555);
    mrb::test::expectAsNobody(tree, [&] {
        EXPECT_TRUE(writeProfileString(ini, "S", "k", "w"));
        EXPECT_EQ(TempTree::read(ini), "[S]\r\nk=w\r\n");
    });
}

TEST(ProfileWrite, KeepsPermissionsAndLeavesNoTemporaryFiles)
{
    TempTree tree;
    const std::string ini = tree.fileWith("dir/a.ini", "[S]\r\nk=v\r\n");
    tree.chmod("dir/a.ini", 0640);
    EXPECT_TRUE(writeProfileString(ini, "S", "k", "w"));
    EXPECT_TRUE(writeProfileString(ini, "T", "k", "w"));
    EXPECT_EQ(modeOf(ini), 0640u);
    EXPECT_EQ(mrb::test::namesIn(tree.path("dir")), std::vector<std::string> {"a.ini"});
}

TEST(ProfileWrite, SymbolicLinkKeepsPointingAtTheUpdatedFile)
{
    TempTree tree;
    const std::string real = tree.fileWith("real/a.ini", "[S]\r\nk=v\r\n");
    const std::string link = tree.symlink("link.ini", real);
    EXPECT_TRUE(writeProfileString(link, "S", "k", "w"));
    struct stat st {
    };
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(TempTree::read(real), "[S]\r\nk=w\r\n");
}

TEST(ProfileWrite, JunkFileKeepsItsBytes)
{
    TempTree tree;
    const std::string junk = "\x01\x02\0\xff\xfe[\0]=\x80\r\r\n"s + std::string(10 * 1024 * 1024, 'q');
    const std::string ini = tree.fileWith("a.ini", junk);
    EXPECT_TRUE(writeProfileString(ini, "S", "k", "v"));
    EXPECT_EQ(TempTree::read(ini), junk + "\r\n[S]\r\nk=v\r\n");
    EXPECT_EQ(readProfileString(ini, "S", "k"), "v");
}

// Two processes writing different keys to one file at the same time: each
// read-modify-write runs under the folder lock, so no key is lost.
TEST(ProfileWrite, ConcurrentWritersLoseNothing)
{
    TempTree tree;
    const std::string ini = tree.path("shared.ini");
    constexpr int perWriter = 1000;
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < perWriter; ++i) {
                const std::string key = "w" + std::to_string(writer) + "k" + std::to_string(i);
                ok = writeProfileString(ini, writer == 0 ? "Zero" : "One", key, std::to_string(i)) && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int found = 0;
    for (int writer = 0; writer < 2; ++writer) {
        for (int i = 0; i < perWriter; ++i) {
            const std::string key = "w" + std::to_string(writer) + "k" + std::to_string(i);
            found += readProfileString(ini, writer == 0 ? "Zero" : "One", key) == std::to_string(i) ? 1 : 0;
        }
    }
    EXPECT_EQ(found, 2 * perWriter);
    EXPECT_EQ(mrb::test::namesIn(tree.root()), std::vector<std::string> {"shared.ini"});
}
