// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The shell operations of APIFuns through the library's interface, in a
// process without a QApplication (as mrb-list or a script host would call them).
#include "lib/public/interfaces.h"
#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/runtime.h"
#include "platform/com/variant.h"
#include "tests/lib/libraryfile.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace
{

using namespace mrb::platform;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

constexpr CLSID clsidAPIFuns = QFC_CLSID_APIFUNS_INIT;
constexpr IID iidAPIFuns = QFC_IID_APIFUNS_INIT;

class Shell : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(registerLibrary(mrb::test::libraryFile()), S_OK);
        HRESULT status = E_FAIL;
        api = createInstance<QfcAPIFuns>(clsidAPIFuns, iidAPIFuns, &status);
        ASSERT_EQ(status, S_OK);
    }

    std::string queryRecycleBin(const std::string &drive)
    {
        Bstr d(drive);
        Bstr result;
        EXPECT_EQ(api->lpVtbl->QueryRecycleBin(api.get(), d.get(), result.out()), S_OK);
        return result.utf8();
    }
    void delToRecycled(const std::string &path)
    {
        Bstr p(path);
        EXPECT_EQ(api->lpVtbl->DelToRecycled(api.get(), p.get()), S_OK);
    }
    std::string specialFolder(std::int16_t id)
    {
        Bstr result;
        EXPECT_EQ(api->lpVtbl->GetSpecialFolder(api.get(), id, result.out()), S_OK);
        return result.utf8();
    }

    TempTree tree;
    ScopedEnv registry {"QFC_REGISTRY_DIR", tree.path("registry")};
    ScopedEnv data {"XDG_DATA_HOME", tree.path("data")};
    ComPtr<QfcAPIFuns> api;
};

TEST_F(Shell, AnEmptyRecycleBinHoldsZeroItemsOfZeroBytes)
{
    EXPECT_EQ(queryRecycleBin(""), "0|0");
    EXPECT_EQ(queryRecycleBin(tree.root()), "0|0");
    EXPECT_EQ(queryRecycleBin(tree.path("no such drive")), "0|0");
}

TEST_F(Shell, DeletedFilesAndFoldersGoToTheRecycleBinAndCanBeEmptied)
{
    delToRecycled(tree.file("a.txt", 10));
    delToRecycled(tree.file("b.txt", 20));
    tree.file("folder/inner.bin", 300);
    delToRecycled(tree.path("folder"));
    delToRecycled(tree.path("never existed"));
    EXPECT_FALSE(std::filesystem::exists(tree.path("a.txt")));
    EXPECT_FALSE(std::filesystem::exists(tree.path("folder")));
    EXPECT_EQ(queryRecycleBin(""), "3|330");
    EXPECT_EQ(queryRecycleBin(tree.root()), "3|330");

    Bstr drive;
    EXPECT_EQ(api->lpVtbl->EmptyRecycleBin(api.get(), 0, drive.get()), S_OK);
    EXPECT_EQ(queryRecycleBin(""), "0|0");
}

TEST_F(Shell, CountsBeyondTheSignedRangeAreWrittenOut)
{
    const std::string big = tree.path("huge.img");
    std::filesystem::resize_file(tree.file("huge.img", 0), 3'000'000'000ull); // sparse
    delToRecycled(big);
    EXPECT_EQ(queryRecycleBin(""), "1|Over 2147483647");
}

TEST_F(Shell, QueryRecycleBinWithoutItsOptionalDriveThroughLateBinding)
{
    VARIANT result {};
    DISPPARAMS none {};
    ASSERT_EQ(
        api->lpVtbl->Invoke(api.get(), 0x60030019, &IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(toUtf8(result.bstrVal), "0|0");
    VariantClear(&result);
}

TEST_F(Shell, SpecialFoldersHaveTheirXdgEquivalents)
{
    ScopedEnv home("HOME", tree.dir("home"));
    ScopedEnv config("XDG_CONFIG_HOME", tree.dir("config"));
    tree.fileWith("config/user-dirs.dirs",
        "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n");
    tree.dir("home/Dokumente");
    tree.dir("home/Pictures");
    EXPECT_EQ(specialFolder(9966), "/usr/bin"); // the system directory, no trailing separator
    EXPECT_EQ(specialFolder(5), tree.path("home/Dokumente"));
    EXPECT_EQ(specialFolder(39), tree.path("home/Pictures"));
    EXPECT_EQ(specialFolder(13), ""); // configured, but not there
    EXPECT_EQ(specialFolder(40), tree.path("home"));
    EXPECT_EQ(specialFolder(26), tree.path("config"));
    EXPECT_EQ(specialFolder(6), ""); // favourites: no equivalent
    EXPECT_EQ(specialFolder(999), ""); // not a special-folder code
    EXPECT_EQ(specialFolder(-1), "");
}

TEST_F(Shell, UserTempPathIsAnExistingFolderWithASeparator)
{
    // A missing or relative $TMPDIR used to give "/", the root folder.
    struct Case {
        const char *name;
        std::string tmpdir, expected;
    };
    const Case cases[] = {
        {"existing folder", tree.dir("my tmp"), tree.path("my tmp") + "/"},
        {"trailing separator", tree.path("my tmp") + "/", tree.path("my tmp") + "/"},
        {"missing folder", tree.path("gone"), "/tmp/"},
        {"relative path", "my tmp", "/tmp/"},
        {"relative path that exists", ".", "/tmp/"},
        {"a file", tree.file("plain", 1), "/tmp/"},
        {"empty", "", "/tmp/"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv tmp("TMPDIR", c.tmpdir);
        Bstr result;
        ASSERT_EQ(api->lpVtbl->GetUserTempPath(api.get(), result.out()), S_OK);
        EXPECT_EQ(result.utf8(), c.expected);
    }
}

TEST_F(Shell, CommandsAndFoldersAreOpenedWithoutAShell)
{
    tree.fileWith("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + tree.path("opened") + "'\n");
    tree.chmod("bin/xdg-open", 0755);
    ScopedEnv path("PATH", tree.path("bin") + ":/usr/bin:/bin");
    auto waitForLines = [&](std::size_t lines) {
        for (int i = 0; i < 100; ++i) {
            const std::string text = TempTree::read(tree.path("opened"));
            if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines)
                return text;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return TempTree::read(tree.path("opened"));
    };
    Bstr address("https://example.org/search?q=a b&x=`id`");
    ASSERT_EQ(api->lpVtbl->ExecCmd(api.get(), address.get(), 3), S_OK);
    EXPECT_EQ(waitForLines(1), "https://example.org/search?q=a b&x=`id`\n");

    Bstr folder(tree.dir("a folder; rm -rf x"));
    ASSERT_EQ(api->lpVtbl->ExecFile(api.get(), folder.get(), 3), S_OK);
    EXPECT_EQ(waitForLines(2), "https://example.org/search?q=a b&x=`id`\n" + tree.path("a folder; rm -rf x") + "\n");

    Bstr nothing("no-such-program --with arguments");
    EXPECT_EQ(api->lpVtbl->ExecCmd(api.get(), nothing.get(), 1), S_OK);
}

TEST_F(Shell, DialogsWithoutAnApplicationGiveTheirEmptyResults)
{
    std::int32_t colour = 0;
    EXPECT_EQ(api->lpVtbl->SelectColor(api.get(), 0, &colour), S_OK);
    EXPECT_EQ(colour, -1);
    Bstr title("Open");
    Bstr filter;
    BSTR dir = nullptr;
    VARIANT_BOOL multi = VARIANT_TRUE;
    SafeArrayPtr files;
    EXPECT_EQ(api->lpVtbl->GetFilesOpenName(api.get(), 0, title.get(), filter.get(), &dir, &multi, files.out()), S_OK);
    ASSERT_NE(files.get(), nullptr);
    EXPECT_TRUE(stringsOf(files.get()).empty());
    Bstr name(tree.file("x.txt", 1));
    EXPECT_EQ(api->lpVtbl->ShowFileFolderProperties(api.get(), 0, name.get()), S_OK);
    EXPECT_EQ(api->lpVtbl->MapNetDrive(api.get(), 0, 1), S_OK);
    EXPECT_EQ(api->lpVtbl->GetFileIcon(api.get(), name.get(), 1, 2), S_OK);
    Bstr dropped;
    EXPECT_EQ(api->lpVtbl->DropFiles(api.get(), 12345, dropped.out()), S_OK);
    EXPECT_EQ(dropped.utf8(), "");
}

// Without a QApplication there are no widgets, menus or clipboard to reach.
TEST_F(Shell, WindowOperationsWithoutAnApplicationAnswerSuccessAndTheEmptyResult)
{
    std::int32_t n = 99;
    Bstr title("Marrowby");
    EXPECT_EQ(api->lpVtbl->FindWindowTitle(api.get(), title.get(), &n), S_OK);
    EXPECT_EQ(n, 0);
    Bstr text;
    EXPECT_EQ(api->lpVtbl->GetClipboardText(api.get(), text.out()), S_OK);
    EXPECT_EQ(text.utf8(), "");
    std::int32_t pos = 2;
    EXPECT_EQ(api->lpVtbl->GetSubMenuHandle(api.get(), 0, &pos, &n), S_OK);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(api->lpVtbl->Wait(api.get(), 10), S_OK);
}

} // namespace
