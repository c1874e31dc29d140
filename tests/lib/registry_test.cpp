// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Registry through its binary interface, on a private registry store: every
// operation through its slot and through Invoke, and a branch saved to a file
// and restored from it.
#include "tests/lib/abiclient.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

using namespace abiclient;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

constexpr I32 currentUser = static_cast<I32>(0x80000001u);
constexpr I32 regSz = 1;
constexpr I32 regExpandSz = 2;
constexpr I32 regBinary = 3;
constexpr I32 regDword = 4;

class RegistryClient : public ::testing::Test
{
protected:
    TempTree tree;
    ScopedEnv store {"QFC_REGISTRY_DIR", tree.path("registry")};
    ScopedEnv variable {"QFC_TEST_PLACE", "/srv/place"};
    Object<RegistrySlots> reg {clsidRegistry, iidRegistry};

    std::string put(I32 type, const std::string &path, const std::string &name, const std::string &value)
    {
        I32 t = type;
        I32 root = currentUser;
        Str p(path), n(name), v(value);
        VB ok = 7;
        reg->WriteRegKey(reg.self(), &t, &root, p.ref(), n.ref(), v.ref(), &ok);
        return textOf(ok);
    }
    std::string get(const std::string &path, const std::string &name, const std::string &notFound = "")
    {
        I32 root = currentUser;
        Str p(path), n(name), d(notFound), out;
        reg->ReadRegKey(reg.self(), &root, p.ref(), n.ref(), d.ref(), out.out());
        return out.text();
    }
    std::string list(HRESULT (*const RegistrySlots::*slot)(void *, I32 *, B *, B *), const std::string &path)
    {
        I32 root = currentUser;
        Str p(path), out;
        (reg.operator->()->*slot)(reg.self(), &root, p.ref(), out.out());
        return out.text();
    }
    // Everything below a key, one line per value: "path\\name=text".
    std::string dump(const std::string &path)
    {
        std::string out;
        const std::string values = list(&RegistrySlots::EnumerateRegKeyValues, path);
        if (!values.empty())
            out += "[" + path + "] " + values + "\n";
        std::string keys = list(&RegistrySlots::EnumerateRegKeys, path);
        while (!keys.empty()) {
            const auto sep = keys.find("*SK*");
            out += dump(path + "\\" + keys.substr(0, sep));
            keys = sep == std::string::npos ? "" : keys.substr(sep + 4);
        }
        return out;
    }
};

TEST_F(RegistryClient, EveryOperationThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(reg);
    const auto filled = [this](const Place &p) {
        put(regSz, p.key, "a", "1");
        put(regDword, p.key, "b", "2");
        put(regBinary, p.key, "c", "3");
        put(regSz, p.key + "\\x\\deep", "v", "1");
        put(regSz, p.key + "\\y", "", "");
    };
    const auto readKey = [this](std::string sub, std::string name, std::string notFound) {
        return [=, this](const Place &p) { return get(p.key + sub, name, notFound); };
    };
    const auto readArgs = [](std::string sub, std::string name, std::string notFound) {
        return [=](const Place &p) {
            return std::vector<Arg> {i4ref(currentUser), sref(p.key + sub), sref(name), sref(notFound)};
        };
    };
    const auto writeKey = [this](I32 type, std::string value) {
        return [=, this](const Place &p) { return put(type, p.key, "v", value); };
    };
    const auto writeArgs = [](I32 type, std::string value) {
        return [=](const Place &p) {
            return std::vector<Arg> {i4ref(type), i4ref(currentUser), sref(p.key), sref("v"), sref(value)};
        };
    };
    const auto valueV = [this](const Place &p) { return get(p.key, "v", "<no key>"); };
    const auto keyArgs = [](const Place &p) { return std::vector<Arg> {i4ref(currentUser), sref(p.key)}; };
    const auto listOf = [this](HRESULT (*const RegistrySlots::*slot)(void *, I32 *, B *, B *)) {
        return [=, this](const Place &p) { return list(slot, p.key); };
    };

    runBothWays(reg.dispatch(),
        tree.root(),
        {
            {"ReadRegKey of a missing key",
                nullptr,
                readKey("", "v", "none"),
                id(2),
                readArgs("", "v", "none"),
                "none"},
            {"ReadRegKey of a missing value", filled, readKey("", "zz", "none"), id(2), readArgs("", "zz", "none"), ""},
            {"ReadRegKey of a number", filled, readKey("", "b", ""), id(2), readArgs("", "b", ""), "2"},
            {"ReadRegKey of a default value", filled, readKey("\\y", "", "-"), id(2), readArgs("\\y", "", "-"), ""},
            {"WriteRegKey REG_DWORD",
                nullptr,
                writeKey(regDword, "42"),
                id(3),
                writeArgs(regDword, "42"),
                "True",
                valueV,
                "42"},
            {"WriteRegKey negative REG_DWORD",
                nullptr,
                writeKey(regDword, " -7 "),
                id(3),
                writeArgs(regDword, " -7 "),
                "True",
                valueV,
                "-7"},
            {"WriteRegKey REG_SZ",
                nullptr,
                writeKey(regSz, "abc"),
                id(3),
                writeArgs(regSz, "abc"),
                "True",
                valueV,
                "abc"},
            {"WriteRegKey REG_EXPAND_SZ",
                nullptr,
                writeKey(regExpandSz, "%QFC_TEST_PLACE%/x and %NO_SUCH_VARIABLE%"),
                id(3),
                writeArgs(regExpandSz, "%QFC_TEST_PLACE%/x and %NO_SUCH_VARIABLE%"),
                "True",
                valueV,
                "/srv/place/x and %NO_SUCH_VARIABLE%"},
            {"WriteRegKey REG_BINARY",
                nullptr,
                writeKey(regBinary, "200"),
                id(3),
                writeArgs(regBinary, "200"),
                "True",
                valueV,
                "200"},
            {"WriteRegKey REG_BINARY out of range",
                nullptr,
                writeKey(regBinary, "300"),
                id(3),
                writeArgs(regBinary, "300"),
                "False",
                valueV,
                ""},
            {"WriteRegKey of another type", nullptr, writeKey(7, "x"), id(3), writeArgs(7, "x"), "True", valueV, ""},
            {"EnumerateRegKeys", filled, listOf(&RegistrySlots::EnumerateRegKeys), id(4), keyArgs, "x*SK*y"},
            {"EnumerateRegKeyValues",
                filled,
                listOf(&RegistrySlots::EnumerateRegKeyValues),
                id(5),
                keyArgs,
                "a*NDS*1*IS*b*NDS*2*IS*c*NDS*3"},
            {"EnumerateRegKeyValues of a missing key",
                nullptr,
                listOf(&RegistrySlots::EnumerateRegKeyValues),
                id(5),
                keyArgs,
                ""},
            {"DeleteRegKey removes the whole branch",
                filled,
                [this](const Place &p) {
                    I32 root = currentUser;
                    Str path(p.key);
                    reg->DeleteRegKey(reg.self(), &root, path.ref());
                    return "";
                },
                id(6),
                keyArgs,
                "",
                [this](const Place &p) { return dump(p.key) + get(p.key + "\\x\\deep", "v", "gone"); },
                "gone"},
            {"DeleteRegKeyValue of the value named after the key",
                [this](const Place &p) {
                    put(regSz, p.key, p.key, "named");
                    put(regSz, p.key, "other", "kept");
                },
                [this](const Place &p) {
                    I32 root = currentUser;
                    Str path(p.key), sub("");
                    VB ok = 7;
                    reg->DeleteRegKeyValue(reg.self(), &root, path.ref(), sub.ref(), &ok);
                    return textOf(ok) + (sub.text() == p.key ? "" : " SubKey not set");
                },
                id(7),
                [](const Place &p) {
                    return std::vector<Arg> {i4ref(currentUser), sref(p.key), sref("")};
                },
                "True",
                listOf(&RegistrySlots::EnumerateRegKeyItemNames),
                "other"},
            {"GetRegKeyItems counts values, not keys",
                filled,
                [this](const Place &p) {
                    I32 root = currentUser;
                    Str path(p.key);
                    I16 n = -1;
                    reg->GetRegKeyItems(reg.self(), &root, path.ref(), &n);
                    return std::to_string(n);
                },
                id(10),
                keyArgs,
                "3"},
            {"EnumerateRegKeyItemNames",
                filled,
                listOf(&RegistrySlots::EnumerateRegKeyItemNames),
                id(11),
                keyArgs,
                "a*IS*b*IS*c"},
            // A root outside the enumeration is passed on, and names no key.
            {"ReadRegKey under an unknown root",
                nullptr,
                [this](const Place &p) {
                    I32 root = 0x12345678;
                    Str path(p.key), name("v"), none("none"), out;
                    reg->ReadRegKey(reg.self(), &root, path.ref(), name.ref(), none.ref(), out.out());
                    return out.text();
                },
                id(2),
                [](const Place &p) {
                    return std::vector<Arg> {i4ref(0x12345678), sref(p.key), sref("v"), sref("none")};
                },
                "none"},
            {"ExportRegKey of a missing key keeps the file",
                [](const Place &p) { std::ofstream(p.path("saved.reg")) << "keep"; },
                [this](const Place &p) {
                    I32 root = currentUser;
                    Str path(p.key), file(p.path("saved.reg"));
                    VB ok = 7;
                    reg->ExportRegKey(reg.self(), &root, path.ref(), file.ref(), &ok);
                    return textOf(ok);
                },
                id(0),
                [](const Place &p) {
                    return std::vector<Arg> {i4ref(currentUser), sref(p.key), sref(p.path("saved.reg"))};
                },
                "False",
                [](const Place &p) { return TempTree::read(p.path("saved.reg")); },
                "keep"},
            {"ImportRegKey of a file that is no export",
                [&](const Place &p) {
                    filled(p);
                    std::ofstream(p.path("bad.reg")) << "[broken\nx=y\n";
                },
                [this](const Place &p) {
                    I32 root = currentUser;
                    Str path(p.key), file(p.path("bad.reg"));
                    VB ok = 7;
                    reg->ImportRegKey(reg.self(), &root, path.ref(), file.ref(), &ok);
                    return textOf(ok);
                },
                id(1),
                [](const Place &p) {
                    return std::vector<Arg> {i4ref(currentUser), sref(p.key), sref(p.path("bad.reg"))};
                },
                "False",
                listOf(&RegistrySlots::EnumerateRegKeyValues),
                "a*NDS*1*IS*b*NDS*2*IS*c*NDS*3"},
        });
}

TEST_F(RegistryClient, ABranchSavedToAFileIsRestoredFromIt)
{
    const std::string key = "Software\\Marrowby\\Saved";
    put(regSz, key, "", "default");
    put(regSz, key, "text", "with \"quotes\", = and \\ inside");
    put(regExpandSz, key + "\\Paths", "home", "%QFC_TEST_PLACE%/home");
    put(regBinary, key + "\\Paths\\Deeper", "byte", "255");
    put(regDword, key + "\\Numbers", "negative", "-123456");
    put(regDword, key + "\\Numbers", "zero", "0");
    const std::string before = dump(key);
    ASSERT_EQ(before,
        "[Software\\Marrowby\\Saved] *NDS*default*IS*text*NDS*with \"quotes\", = and \\ inside\n"
        "[Software\\Marrowby\\Saved\\Numbers] negative*NDS*-123456*IS*zero*NDS*0\n"
        "[Software\\Marrowby\\Saved\\Paths] home*NDS*/srv/place/home\n"
        "[Software\\Marrowby\\Saved\\Paths\\Deeper] byte*NDS*255\n");

    I32 root = currentUser;
    Str path(key), file(tree.path("branch.reg"));
    VB ok = 0;
    ASSERT_EQ(reg->ExportRegKey(reg.self(), &root, path.ref(), file.ref(), &ok), S_OK);
    ASSERT_EQ(ok, VARIANT_TRUE);

    // Change the branch: a value changed, one added, a key removed, a key added.
    put(regSz, key, "text", "changed");
    put(regSz, key, "extra", "new");
    I32 r = currentUser;
    Str numbers(key + "\\Numbers");
    reg->DeleteRegKey(reg.self(), &r, numbers.ref());
    put(regSz, key + "\\Added", "x", "y");
    ASSERT_NE(dump(key), before);

    ASSERT_EQ(reg->ImportRegKey(reg.self(), &root, path.ref(), file.ref(), &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    EXPECT_EQ(dump(key), before);

    // Restored under another existing key, the same branch appears there.
    put(regSz, "Software\\Copy", "old", "gone after the restore");
    Str copy("Software\\Copy");
    ASSERT_EQ(reg->ImportRegKey(reg.self(), &root, copy.ref(), file.ref(), &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    std::string copied = dump("Software\\Copy");
    for (std::size_t at; (at = copied.find("Software\\Copy")) != std::string::npos;)
        copied.replace(at, 13, key);
    EXPECT_EQ(copied, before);
}

// ExportRegKey used to delete the file before saving, so a failed save lost it.
TEST_F(RegistryClient, AFailedExportKeepsTheFileItWouldHaveReplaced)
{
    const std::string key = "Software\\Marrowby\\Big";
    for (int i = 0; i < 10; ++i)
        put(regSz, key, "value" + std::to_string(i), std::string(10000, 'x'));
    const std::string file = tree.path("old.reg");
    std::ofstream(file) << "the old export";
    const int code = inChildWithFileLimit(50000, [&] {
        Object<RegistrySlots> own(clsidRegistry, iidRegistry);
        I32 root = currentUser;
        Str path(key), target(file);
        VB ok = 7;
        own->ExportRegKey(own.self(), &root, path.ref(), target.ref(), &ok);
        return ok == VARIANT_FALSE ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << "the export answers false";
    EXPECT_EQ(TempTree::read(file), "the old export");
}

// The enumerations list names trimmed and stop at a name too long to list.
// EnumerateRegKeyValues used to look each value up again by its trimmed name
// and crash when none had it; GetRegKeyItems counted past the long name.
TEST_F(RegistryClient, EnumerationsAndTheCountAgreeOnEveryName)
{
    struct Row {
        const char *name;
        std::vector<std::pair<std::string, std::string>> values; // name, text, in the order set
        std::string listed; // EnumerateRegKeyValues
        std::string names; // EnumerateRegKeyItemNames
        I16 count; // GetRegKeyItems
    };
    const std::string longName(300, 'n');
    const std::vector<Row> rows = {
        {"names with blanks around them",
            {{" a", "1"}, {"b ", "2"}, {"   ", "3"}, {"a", "4"}},
            "a*NDS*1*IS*b*NDS*2*IS**NDS*3*IS*a*NDS*4",
            "a*IS*b*IS**IS*a",
            4},
        {"a name longer than 254 characters", {{"a", "1"}, {longName, "2"}, {"c", "3"}}, "a*NDS*1", "a", 1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string key = std::string("Software\\Audit\\") + row.name;
        for (const auto &[name, text] : row.values)
            ASSERT_EQ(put(regSz, key, name, text), "True");
        EXPECT_EQ(list(&RegistrySlots::EnumerateRegKeyValues, key), row.listed);
        EXPECT_EQ(list(&RegistrySlots::EnumerateRegKeyItemNames, key), row.names);
        I32 root = currentUser;
        Str path(key);
        I16 count = -1;
        reg->GetRegKeyItems(reg.self(), &root, path.ref(), &count);
        EXPECT_EQ(count, row.count);
    }
}

} // namespace
