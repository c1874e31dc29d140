// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GenFuns' data helpers through the binary interface: each through its slot
// and through Invoke.
#include "tests/lib/abiclient.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

using namespace abiclient;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

class GenFunsClient : public ::testing::Test
{
public:
    TempTree tree;
    ScopedEnv store {"QFC_REGISTRY_DIR", tree.path("registry")};
    Object<GenFunsSlots> gen {clsidGenFuns, iidGenFuns};
    Object<RegistrySlots> reg {clsidRegistry, iidRegistry};

    std::string filesQty(const std::string &path)
    {
        I32 n = -99;
        gen->GetFilesQty(gen.self(), Str(path).get(), &n);
        return std::to_string(n);
    }
    std::string shortcut(const std::string &path)
    {
        VB found = 7;
        gen->CheckShortcut(gen.self(), Str(path).get(), &found);
        return textOf(found);
    }
};

void touch(const std::string &path, const std::string &content = "")
{
    std::ofstream(path) << content;
}

using Row = BothWays<GenFunsClient>;

// An operation without a place, answering a text.
Row textRow(std::string name,
    std::function<void(GenFunsClient &, B *)> call,
    DISPID dispid,
    std::vector<Arg> args,
    std::string result)
{
    return {.name = name,
        .slot =
            [call](GenFunsClient &c, const Place &) {
                Str out;
                call(c, out.out());
                return out.text();
            },
        .id = dispid,
        .args = [args](const Place &) { return args; },
        .result = result};
}

Row colorRow(I32 value, std::string result)
{
    return textRow(
        "LongToHTMLColor " + std::to_string(value),
        [value](GenFunsClient &c, B *out) { c.gen->LongToHTMLColor(c.gen.self(), value, out); },
        id(1),
        {i4(value)},
        result);
}

// GetEnglishWeekday (id 9) and GetEnglishShortMonth (id 10) of n.
Row englishNameRow(bool weekday, I16 n, std::string result)
{
    const auto slot = weekday ? &GenFunsSlots::GetEnglishWeekday : &GenFunsSlots::GetEnglishShortMonth;
    return textRow((weekday ? "GetEnglishWeekday " : "GetEnglishShortMonth ") + std::to_string(n),
        [=](GenFunsClient &c, B *out) { (c.gen.operator->()->*slot)(c.gen.self(), n, out); },
        id(weekday ? 9 : 10),
        {i2(n)},
        result);
}

// An operation on a path below the run's place ("" passes an empty path),
// made by prepare.
Row pathRow(std::string name,
    void (*prepare)(const Place &),
    std::string relative,
    std::string (GenFunsClient::*call)(const std::string &),
    DISPID dispid,
    std::string result)
{
    const auto pathOf = [relative](const Place &p) { return relative.empty() ? "" : p.path(relative); };
    return {.name = name,
        .prepare =
            [prepare](GenFunsClient &, const Place &p) {
                if (prepare)
                    prepare(p);
            },
        .slot = [=](GenFunsClient &c, const Place &p) { return (c.*call)(pathOf(p)); },
        .id = dispid,
        .args = [=](const Place &p) { return std::vector<Arg> {s(pathOf(p))}; },
        .result = result};
}

void twoFilesAndThreeBelow(const Place &p)
{
    touch(p.path("a"));
    touch(p.path(".hidden"));
    ::mkdir(p.path("sub").c_str(), 0755);
    for (const char *name : {"sub/x", "sub/y", "sub/z"})
        touch(p.path(name));
}

void linksAndSpecialFiles(const Place &p)
{
    ::mkdir(p.path("dir").c_str(), 0755);
    ::mkdir(p.path("dir/inner").c_str(), 0755);
    touch(p.path("dir/inner/file"));
    touch(p.path("dir/file"));
    ::symlink("inner", p.path("dir/folderlink").c_str()); // not followed, not counted
    ::symlink("file", p.path("dir/filelink").c_str());
    ::symlink("nowhere", p.path("dir/dangling").c_str());
    ::mkfifo(p.path("dir/fifo").c_str(), 0644);
}

void shortcuts(const Place &p)
{
    touch(p.path("target.txt"));
    ::symlink("target.txt", p.path("link").c_str());
    ::symlink("missing.txt", p.path("dangling").c_str());
    touch(p.path("doc.desktop"), "[Desktop Entry]\nType=Link\nURL=file://" + p.path("target.txt") + "\n");
    touch(p.path("web.desktop"), "[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
    touch(p.path("app.desktop"), "[Desktop Entry]\nType=Application\nName=Shell\nExec=sh -c true %f\n");
    touch(p.path("gone.desktop"), "[Desktop Entry]\nType=Application\nExec=\"/no/such program\" %U\n");
    touch(p.path("plain.txt"), "[Desktop Entry]\nType=Link\nURL=/\n");
}

const auto filesQty = &GenFunsClient::filesQty;
const auto shortcut = &GenFunsClient::shortcut;

const std::vector<Row> dataHelpers = {
    textRow(
        "GetCharsetList",
        [](GenFunsClient &c, B *out) { c.gen->GetCharsetList(c.gen.self(), out); },
        id(0),
        {},
        "windows-1252 | Western European (Windows) ||  | no charset || utf-8 | Unicode (UTF-8)"),
    colorRow(0, "#000000"),
    colorRow(0xFFFFFF, "#FFFFFF"),
    colorRow(15, "#0F0000"),
    colorRow(0x00336699, "#996633"),
    colorRow(-1, "#FF0000"),
    englishNameRow(true, 0, ""),
    englishNameRow(true, 1, "Sun"),
    englishNameRow(true, 7, "Sat"),
    englishNameRow(true, 8, ""),
    englishNameRow(false, 1, "Jan"),
    englishNameRow(false, 12, "Dec"),
    englishNameRow(false, 13, ""),
    pathRow("GetFilesQty counts below", twoFilesAndThreeBelow, ".", filesQty, id(6), "5"),
    pathRow("GetFilesQty follows no link", linksAndSpecialFiles, "dir", filesQty, id(6), "5"),
    pathRow("GetFilesQty of nothing", nullptr, "", filesQty, id(6), "-1"),
    pathRow("GetFilesQty of a missing folder", nullptr, "missing", filesQty, id(6), "-1"),
    pathRow("CheckShortcut of a link", shortcuts, "link", shortcut, id(7), "True"),
    pathRow("CheckShortcut of a dangling link", shortcuts, "dangling", shortcut, id(7), "False"),
    pathRow("CheckShortcut of a Link entry", shortcuts, "doc.desktop", shortcut, id(7), "True"),
    pathRow("CheckShortcut of a web address", shortcuts, "web.desktop", shortcut, id(7), "False"),
    pathRow("CheckShortcut of a program", shortcuts, "app.desktop", shortcut, id(7), "True"),
    pathRow("CheckShortcut of a missing program", shortcuts, "gone.desktop", shortcut, id(7), "False"),
    pathRow("CheckShortcut of no shortcut", shortcuts, "plain.txt", shortcut, id(7), "False"),
    pathRow("CheckShortcut of a missing file", nullptr, "none.desktop", shortcut, id(7), "False"),
    textRow(
        "GetSysTempPath",
        [](GenFunsClient &c, B *out) { c.gen->GetSysTempPath(c.gen.self(), out); },
        id(8),
        {},
        "/tmp"),
};

// With two code pages and one without a charset, written where registration puts them.
class GenFunsDataHelper : public GenFunsClient, public ::testing::WithParamInterface<Row>
{
protected:
    void SetUp() override
    {
        codePage("1252", "BodyCharset", "windows-1252");
        codePage("1252", "Description", "Western European (Windows)");
        codePage("65001", "BodyCharset", "utf-8");
        codePage("65001", "Description", "Unicode (UTF-8)");
        codePage("20000", "Description", "no charset");
    }
    void codePage(const std::string &number, const std::string &name, const std::string &value)
    {
        I32 type = 1, root = static_cast<I32>(0x80000000u);
        Str path("MIME\\Database\\Codepage\\" + number), n(name), v(value);
        VB ok = 0;
        reg->WriteRegKey(reg.self(), &type, &root, path.ref(), n.ref(), v.ref(), &ok);
    }
};

TEST_P(GenFunsDataHelper, GivesTheSameThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(gen);
    runBothWays(static_cast<GenFunsClient &>(*this), gen.dispatch(), tree.root(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(GenFuns, GenFunsDataHelper, ::testing::ValuesIn(dataHelpers), RowName());

TEST_F(GenFunsClient, GetCharsetListIsEmptyWithoutTheCodePageTable)
{
    Str out;
    ASSERT_EQ(gen->GetCharsetList(gen.self(), out.out()), S_OK);
    EXPECT_EQ(out.text(), "");
}

// A folder that cannot be read used to add -1 to its parent's count.
TEST_F(GenFunsClient, AnUnreadableFolderAddsNothing)
{
    const std::string root = tree.dir("count");
    tree.fileWith("count/a", "");
    tree.fileWith("count/locked/x", "");
    tree.fileWith("count/open/y", "");
    ::chmod(tree.root().c_str(), 0755);
    ::chmod(root.c_str(), 0755);
    ::chmod(tree.path("count/open").c_str(), 0755);
    ::chmod(tree.path("count/locked").c_str(), 0700);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        Object<GenFunsSlots> own(clsidGenFuns, iidGenFuns);
        I32 locked = 0, top = 0;
        own->GetFilesQty(own.self(), Str(root + "/locked").get(), &locked);
        own->GetFilesQty(own.self(), Str(root).get(), &top);
        ::_exit(locked == -1 && top == 2 ? 0 : 10 + top);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "an unreadable folder is -1 itself and adds 0 to its parent";
}

} // namespace
