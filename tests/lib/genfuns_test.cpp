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
    Case text(std::string name,
        std::function<std::string(Str &)> slot,
        DISPID dispid,
        std::vector<Arg> args,
        std::string result)
    {
        return {name,
            nullptr,
            [slot](const Place &) {
                Str out;
                return slot(out);
            },
            dispid,
            [args](const Place &) { return args; },
            result};
    }
    Case color(I32 value, std::string result)
    {
        return text(
            "LongToHTMLColor " + std::to_string(value),
            [=, this](Str &out) {
                gen->LongToHTMLColor(gen.self(), value, out.out());
                return out.text();
            },
            id(1),
            {i4(value)},
            result);
    }
    // GetEnglishWeekday and GetEnglishShortMonth of n.
    Case englishName(const char *op,
        HRESULT (*const GenFunsSlots::*slot)(void *, I16, B *),
        DISPID dispid,
        I16 n,
        std::string result)
    {
        return text(
            op + std::string(" ") + std::to_string(n),
            [=, this](Str &out) {
                (gen.operator->()->*slot)(gen.self(), n, out.out());
                return out.text();
            },
            dispid,
            {i2(n)},
            result);
    }
    // A case on a path below the run's folder, made by prepare.
    Case onPath(std::string name,
        std::function<void(const Place &)> prepare,
        std::string relative,
        std::string (GenFunsClient::*call)(const std::string &),
        DISPID dispid,
        std::string result)
    {
        return {name,
            prepare,
            [=, this](const Place &p) { return (this->*call)(relative.empty() ? "" : p.path(relative)); },
            dispid,
            [=](const Place &p) { return std::vector<Arg> {s(relative.empty() ? "" : p.path(relative))}; },
            result};
    }
};

void touch(const std::string &path, const std::string &content = "")
{
    std::ofstream(path) << content;
}

TEST_F(GenFunsClient, EveryDataHelperThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(gen);
    // Two code pages and one without a charset, written where registration puts them.
    const auto codePage = [this](const std::string &number, const std::string &name, const std::string &value) {
        I32 type = 1, root = static_cast<I32>(0x80000000u);
        Str path("MIME\\Database\\Codepage\\" + number), n(name), v(value);
        VB ok = 0;
        reg->WriteRegKey(reg.self(), &type, &root, path.ref(), n.ref(), v.ref(), &ok);
    };
    codePage("1252", "BodyCharset", "windows-1252");
    codePage("1252", "Description", "Western European (Windows)");
    codePage("65001", "BodyCharset", "utf-8");
    codePage("65001", "Description", "Unicode (UTF-8)");
    codePage("20000", "Description", "no charset");

    const auto twoFilesAndThreeBelow = [](const Place &p) {
        touch(p.path("a"));
        touch(p.path(".hidden"));
        ::mkdir(p.path("sub").c_str(), 0755);
        for (const char *name : {"sub/x", "sub/y", "sub/z"})
            touch(p.path(name));
    };
    const auto linksAndSpecialFiles = [](const Place &p) {
        ::mkdir(p.path("dir").c_str(), 0755);
        ::mkdir(p.path("dir/inner").c_str(), 0755);
        touch(p.path("dir/inner/file"));
        touch(p.path("dir/file"));
        ::symlink("inner", p.path("dir/folderlink").c_str()); // not followed, not counted
        ::symlink("file", p.path("dir/filelink").c_str());
        ::symlink("nowhere", p.path("dir/dangling").c_str());
        ::mkfifo(p.path("dir/fifo").c_str(), 0644);
    };
    const auto shortcuts = [](const Place &p) {
        touch(p.path("target.txt"));
        ::symlink("target.txt", p.path("link").c_str());
        ::symlink("missing.txt", p.path("dangling").c_str());
        touch(p.path("doc.desktop"), "[Desktop Entry]\nType=Link\nURL=file://" + p.path("target.txt") + "\n");
        touch(p.path("web.desktop"), "[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
        touch(p.path("app.desktop"), "[Desktop Entry]\nType=Application\nName=Shell\nExec=sh -c true %f\n");
        touch(p.path("gone.desktop"), "[Desktop Entry]\nType=Application\nExec=\"/no/such program\" %U\n");
        touch(p.path("plain.txt"), "[Desktop Entry]\nType=Link\nURL=/\n");
    };

    runBothWays(gen.dispatch(),
        tree.root(),
        {
            text(
                "GetCharsetList",
                [this](Str &out) {
                    gen->GetCharsetList(gen.self(), out.out());
                    return out.text();
                },
                id(0),
                {},
                "windows-1252 | Western European (Windows) ||  | no charset || utf-8 | Unicode (UTF-8)"),
            color(0, "#000000"),
            color(0xFFFFFF, "#FFFFFF"),
            color(15, "#0F0000"),
            color(0x00336699, "#996633"),
            color(-1, "#FF0000"),
            englishName("GetEnglishWeekday", &GenFunsSlots::GetEnglishWeekday, id(9), 0, ""),
            englishName("GetEnglishWeekday", &GenFunsSlots::GetEnglishWeekday, id(9), 1, "Sun"),
            englishName("GetEnglishWeekday", &GenFunsSlots::GetEnglishWeekday, id(9), 7, "Sat"),
            englishName("GetEnglishWeekday", &GenFunsSlots::GetEnglishWeekday, id(9), 8, ""),
            englishName("GetEnglishShortMonth", &GenFunsSlots::GetEnglishShortMonth, id(10), 1, "Jan"),
            englishName("GetEnglishShortMonth", &GenFunsSlots::GetEnglishShortMonth, id(10), 12, "Dec"),
            englishName("GetEnglishShortMonth", &GenFunsSlots::GetEnglishShortMonth, id(10), 13, ""),
            onPath("GetFilesQty counts below", twoFilesAndThreeBelow, ".", &GenFunsClient::filesQty, id(6), "5"),
            onPath("GetFilesQty follows no link", linksAndSpecialFiles, "dir", &GenFunsClient::filesQty, id(6), "5"),
            onPath("GetFilesQty of nothing", nullptr, "", &GenFunsClient::filesQty, id(6), "-1"),
            onPath("GetFilesQty of a missing folder", nullptr, "missing", &GenFunsClient::filesQty, id(6), "-1"),
            onPath("CheckShortcut of a link", shortcuts, "link", &GenFunsClient::shortcut, id(7), "True"),
            onPath("CheckShortcut of a dangling link", shortcuts, "dangling", &GenFunsClient::shortcut, id(7), "False"),
            onPath("CheckShortcut of a Link entry", shortcuts, "doc.desktop", &GenFunsClient::shortcut, id(7), "True"),
            onPath(
                "CheckShortcut of a web address", shortcuts, "web.desktop", &GenFunsClient::shortcut, id(7), "False"),
            onPath("CheckShortcut of a program", shortcuts, "app.desktop", &GenFunsClient::shortcut, id(7), "True"),
            onPath("CheckShortcut of a missing program",
                shortcuts,
                "gone.desktop",
                &GenFunsClient::shortcut,
                id(7),
                "False"),
            onPath("CheckShortcut of no shortcut", shortcuts, "plain.txt", &GenFunsClient::shortcut, id(7), "False"),
            onPath(
                "CheckShortcut of a missing file", nullptr, "none.desktop", &GenFunsClient::shortcut, id(7), "False"),
            text(
                "GetSysTempPath",
                [this](Str &out) {
                    gen->GetSysTempPath(gen.self(), out.out());
                    return out.text();
                },
                id(8),
                {},
                "/tmp"),
        });
}

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
