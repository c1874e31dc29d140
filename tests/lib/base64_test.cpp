// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Base64 through its binary interface: every operation through its slot and
// through Invoke, round trips in several charsets, DecodeToFile's failures.
#include "tests/lib/abiclient.h"
#include "tests/support/isolation.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

using namespace abiclient;
using mrb::test::TempTree;

constexpr DISPID encodeId = 0x60030000;
constexpr DISPID encodeFileId = 0x60030003;
constexpr DISPID decodeId = 0x60030005;
constexpr DISPID decodeToFileId = 0x60030006;

class Base64Client : public ::testing::Test
{
protected:
    Object<Base64Slots> b64 {clsidBase64, iidBase64};
    TempTree tree;

    std::string encode(const std::string &text, const std::string &charset)
    {
        Str out;
        const HRESULT hr = b64->Encode(b64.self(), Str(text).get(), Str(charset).get(), out.out());
        return hr == S_OK ? out.text() : failedText(hr, b64.dispatch());
    }
    std::string decode(const std::string &text, const std::string &charset)
    {
        Str input(text);
        Str out;
        const HRESULT hr = b64->Decode(b64.self(), input.ref(), Str(charset).get(), out.out());
        if (input.text() != text)
            return "sInput changed";
        return hr == S_OK ? out.text() : failedText(hr, b64.dispatch());
    }
    Case encodeCase(std::string name, std::string text, std::string charset, std::string result)
    {
        return {name,
            nullptr,
            [=, this](const Place &) { return encode(text, charset); },
            encodeId,
            [=](const Place &) {
                return std::vector<Arg> {s(text), s(charset)};
            },
            result};
    }
    Case decodeCase(std::string name, std::string text, std::string charset, std::string result)
    {
        return {name,
            nullptr,
            [=, this](const Place &) { return decode(text, charset); },
            decodeId,
            [=](const Place &) {
                return std::vector<Arg> {sref(text), s(charset)};
            },
            result};
    }
    // DecodeToFile of text into "out.bin", which holds existing before the call
    // when given; the file's bytes afterwards are checked.
    Case decodeToFileCase(std::string name, std::string text, std::string file, std::string result, std::string after)
    {
        return {name,
            [](const Place &p) { std::ofstream(p.path("old.bin")) << "old"; },
            [=, this](const Place &p) {
                Str input(text);
                Str target(p.path(file));
                const HRESULT hr = b64->DecodeToFile(b64.self(), input.ref(), target.ref());
                return hr == S_OK ? "" : failedText(hr, b64.dispatch());
            },
            decodeToFileId,
            [=](const Place &p) {
                return std::vector<Arg> {sref(text), sref(p.path(file))};
            },
            result,
            [=](const Place &p) {
                return ::access(p.path(file).c_str(), F_OK) == 0 ? TempTree::read(p.path(file)) : "<missing>";
            },
            after};
    }
};

TEST_F(Base64Client, EveryOperationThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(b64);
    const std::string bytes75(75, 'x'); // 100 characters encoded
    const std::string bytes114(114, 'x'); // exactly two lines of 76
    const std::string line76 = "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4";
    runBothWays(b64.dispatch(),
        tree.root(),
        {
            encodeCase("Encode three letters", "abc", "utf-8", "YWJj"),
            encodeCase("Encode two letters", "ab", "utf-8", "YWI="),
            encodeCase("Encode one letter", "a", "utf-8", "YQ=="),
            encodeCase("Encode nothing", "", "utf-8", ""),
            encodeCase("Encode into lines of 76", bytes75, "utf-8", line76 + "\r\n" + line76.substr(0, 24)),
            encodeCase("Encode two full lines", bytes114, "utf-8", line76 + "\r\n" + line76),
            // Only a mark that was written is dropped: UTF-16 text keeps its first bytes.
            encodeCase("Encode in Unicode", "ab", "Unicode", "YQBiAA=="),
            encodeCase("Encode in windows-1252", "\xC3\xA9t\xC3\xA9", "windows-1252", "6XTp"),
            encodeCase("Encode in an unknown charset", "abc", "no-such-charset", ""),
            {"Encode in UTF-8 by default",
                nullptr,
                [this](const Place &) { return encode("\xC3\xA9", "utf-8"); },
                encodeId,
                [](const Place &) { return std::vector<Arg> {s("\xC3\xA9")}; },
                "w6k="},
            decodeCase("Decode three letters", "YWJj", "utf-8", "abc"),
            decodeCase("Decode with a line break", "YWJj\r\n", "utf-8", "abc"),
            decodeCase("Decode without padding", "YWI", "utf-8", "ab"),
            decodeCase("Decode nothing", "", "utf-8", ""),
            // Blanks, tabs and lone line feeds used to decode as zero bytes.
            decodeCase("Decode skips what is outside the alphabet", " YW\tJj\nYW\nI=\n", "utf-8", "abcab"),
            decodeCase("Decode in Unicode", "YQBiAA==", "Unicode", "ab"),
            decodeCase("Decode in windows-1252", "6XTp", "windows-1252", "\xC3\xA9t\xC3\xA9"),
            {"EncodeFile",
                [](const Place &p) { std::ofstream(p.path("in.bin"), std::ios::binary) << std::string("ab\0c", 4); },
                [this](const Place &p) {
                    Str out;
                    b64->EncodeFile(b64.self(), Str(p.path("in.bin")).get(), out.out());
                    return out.text();
                },
                encodeFileId,
                [](const Place &p) { return std::vector<Arg> {s(p.path("in.bin"))}; },
                "YWIAYw=="},
            {"EncodeFile of a missing file",
                nullptr,
                [this](const Place &p) {
                    Str out;
                    b64->EncodeFile(b64.self(), Str(p.path("none.bin")).get(), out.out());
                    return out.text();
                },
                encodeFileId,
                [](const Place &p) { return std::vector<Arg> {s(p.path("none.bin"))}; },
                ""},
            decodeToFileCase("DecodeToFile makes a new file", "YWJj", "out.bin", "", "abc"),
            decodeToFileCase("DecodeToFile onto an existing file",
                "YWJj",
                "old.bin",
                "failed 0x800403E8: File already exists.",
                "old"),
        });
}

TEST_F(Base64Client, DecodeToFilePassesOnWhyAFileCannotBeMade)
{
    Str input("YWJj");
    Str target(tree.path("none/out.bin"));
    const HRESULT hr = b64->DecodeToFile(b64.self(), input.ref(), target.ref());
    EXPECT_EQ(failedText(hr, b64.dispatch()),
        "failed 0x800A004C: Path not found ('" + tree.path("none/out.bin") + "': No such file or directory)");
}

TEST_F(Base64Client, TextSurvivesEncodeAndDecodeInSeveralCharsets)
{
    const std::vector<std::pair<std::string, std::string>> samples = {
        {"utf-8", "\xE6\x97\xA5\xE6\x9C\xAC caf\xC3\xA9 \xF0\x9F\x98\x80"},
        {"Unicode", "\xE6\x97\xA5\xE6\x9C\xAC caf\xC3\xA9 \xF0\x9F\x98\x80"},
        {"UnicodeBigEndian", "caf\xC3\xA9"},
        {"windows-1252", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"shift_jis", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
        {"iso-2022-jp", "\xE6\x97\xA5\xE6\x9C\xAC abc"},
        {"utf-7", "caf\xC3\xA9 + 1"},
    };
    for (const auto &[charset, text] : samples) {
        SCOPED_TRACE(charset);
        EXPECT_EQ(decode(encode(text, charset), charset), text);
    }
}

// DecodeToFile used to test for the file and create it in two steps, and to
// leave what it had written when writing failed.
TEST_F(Base64Client, DecodeToFileLeavesNoPartialFileWhenWritingFails)
{
    const std::string file = tree.path("big.bin");
    std::string text;
    for (int i = 0; i < 30000; ++i)
        text += "eHh4eHh4";
    const int code = inChildWithFileLimit(50000, [&] {
        Object<Base64Slots> own(clsidBase64, iidBase64);
        Str input(text);
        Str target(file);
        return own->DecodeToFile(own.self(), input.ref(), target.ref()) == static_cast<HRESULT>(0x800A004B) ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << "the failure is reported";
    EXPECT_NE(::access(file.c_str(), F_OK), 0) << "no partial file";
}

// DecodeToFile used to claim the name, close it and open the name again, so
// a link put in place of the claimed file meanwhile was written through: as
// another user in a folder open to all, onto a file of root's.
TEST_F(Base64Client, DecodeToFileNeverWritesThroughALinkPutInPlaceOfItsClaim)
{
    const std::string victim = tree.fileWith("private/victim", "root's own");
    tree.chmod("private/victim", 0600);
    const std::string target = tree.path("open/out.bin");
    tree.dir("open");
    const std::string link = tree.symlink("open/link", victim);
    bool swapped = false;
    // The other user: as soon as the claimed file shows, a link takes its
    // name, while the call is still decoding.
    std::thread other([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        struct stat st {
        };
        while (!swapped && std::chrono::steady_clock::now() < deadline) {
            if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                swapped = std::rename(link.c_str(), target.c_str()) == 0;
        }
    });
    std::string text;
    for (int i = 0; i < 1000000; ++i)
        text += "eHh4eHh4";
    Str input(text);
    Str file(target);
    const HRESULT hr = b64->DecodeToFile(b64.self(), input.ref(), file.ref());
    other.join();
    ASSERT_TRUE(swapped);
    EXPECT_EQ(hr, S_OK);
    EXPECT_TRUE(TempTree::read(victim) == "root's own") << "written through the link";
}

// A write that failed used to be 0x800A004B whatever the system said.
TEST_F(Base64Client, DecodeToFilePassesOnTheSystemsReasonAsItsNumber)
{
    struct Row {
        const char *name;
        bool readOnly;
        std::string expected;
    };
    const std::string full = tree.dir("mounted");
    std::string text;
    for (int i = 0; i < 30000; ++i)
        text += "eHh4eHh4";
    for (const Row &row : {Row {"a file system that is full",
                               false,
                               "failed 0x800A003D: Disk full ('" + full + "/out.bin': No space left on device)"},
             Row {"a file system mounted read-only",
                 true,
                 "failed 0x800A0046: Permission denied ('" + full + "/out.bin': Read-only file system)"}}) {
        SCOPED_TRACE(row.name);
        const int code = mrb::test::runInChild([&] {
            if (!mrb::test::mountScratchFileSystem(full, 64 * 1024, row.readOnly))
                return 77;
            Object<Base64Slots> own(clsidBase64, iidBase64);
            Str input(text);
            Str target(full + "/out.bin");
            const std::string got =
                failedText(own->DecodeToFile(own.self(), input.ref(), target.ref()), own.dispatch());
            const bool left = ::access((full + "/out.bin").c_str(), F_OK) == 0;
            EXPECT_EQ(got, row.expected);
            EXPECT_FALSE(left) << "no partial file";
            return got == row.expected && !left ? 0 : 1;
        });
        if (code == 77)
            GTEST_SKIP() << "no private mounts here";
        EXPECT_EQ(code, 0);
    }
}

} // namespace
