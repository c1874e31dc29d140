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
public:
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

using Row = BothWays<RegistryClient>;
using ListSlot = HRESULT (*const RegistrySlots::*)(void *, I32 *, B *, B *);

void fill(RegistryClient &c, const Place &p)
{
    c.put(regSz, p.key, "a", "1");
    c.put(regDword, p.key, "b", "2");
    c.put(regBinary, p.key, "c", "3");
    c.put(regSz, p.key + "\\x\\deep", "v", "1");
    c.put(regSz, p.key + "\\y", "", "");
}

Row readRow(std::string name, bool filled, std::string sub, std::string value, std::string notFound, std::string result)
{
    return {.name = name,
        .prepare = filled ? fill : nullptr,
        .slot = [=](RegistryClient &c, const Place &p) { return c.get(p.key + sub, value, notFound); },
        .id = id(2),
        .args =
            [=](const Place &p) {
                return std::vector<Arg> {i4ref(currentUser), sref(p.key + sub), sref(value), sref(notFound)};
            },
        .result = result};
}

// WriteRegKey of value "v", read back.
Row writeRow(std::string name, I32 type, std::string value, std::string result, std::string after)
{
    return {.name = name,
        .slot = [=](RegistryClient &c, const Place &p) { return c.put(type, p.key, "v", value); },
        .id = id(3),
        .args =
            [=](const Place &p) {
                return std::vector<Arg> {i4ref(type), i4ref(currentUser), sref(p.key), sref("v"), sref(value)};
            },
        .result = result,
        .effect = [](RegistryClient &c, const Place &p) { return c.get(p.key, "v", "<no key>"); },
        .after = after};
}

std::vector<Arg> keyArgs(const Place &p)
{
    return {i4ref(currentUser), sref(p.key)};
}

std::function<std::string(RegistryClient &, const Place &)> listOf(ListSlot slot)
{
    return [=](RegistryClient &c, const Place &p) { return c.list(slot, p.key); };
}

// An enumeration of the key, filled first or not.
Row listRow(std::string name, bool filled, ListSlot slot, DISPID dispid, std::string result)
{
    return {.name = name,
        .prepare = filled ? fill : nullptr,
        .slot = listOf(slot),
        .id = dispid,
        .args = keyArgs,
        .result = result};
}

// An operation on a key and a file of the run's place, answering true or false.
template <HRESULT (*const RegistrySlots::*Slot)(void *, I32 *, B *, B *, VB *)>
std::string onFile(RegistryClient &c, const Place &p, const std::string &file)
{
    I32 root = currentUser;
    Str path(p.key), target(p.path(file));
    VB ok = 7;
    (c.reg.operator->()->*Slot)(c.reg.self(), &root, path.ref(), target.ref(), &ok);
    return textOf(ok);
}

const std::vector<Row> operations = {
    readRow("ReadRegKey of a missing key", false, "", "v", "none", "none"),
    readRow("ReadRegKey of a missing value", true, "", "zz", "none", ""),
    readRow("ReadRegKey of a number", true, "", "b", "", "2"),
    readRow("ReadRegKey of a default value", true, "\\y", "", "-", ""),
    writeRow("WriteRegKey REG_DWORD", regDword, "42", "True", "42"),
    writeRow("WriteRegKey negative REG_DWORD", regDword, " -7 ", "True", "-7"),
    writeRow("WriteRegKey REG_SZ", regSz, "abc", "True", "abc"),
    writeRow("WriteRegKey REG_EXPAND_SZ",
        regExpandSz,
        "%QFC_TEST_PLACE%/x and %NO_SUCH_VARIABLE%",
        "True",
        "/srv/place/x and %NO_SUCH_VARIABLE%"),
    writeRow("WriteRegKey REG_BINARY", regBinary, "200", "True", "200"),
    writeRow("WriteRegKey REG_BINARY out of range", regBinary, "300", "False", ""),
    writeRow("WriteRegKey of another type", 7, "x", "True", ""),
    listRow("EnumerateRegKeys", true, &RegistrySlots::EnumerateRegKeys, id(4), "x*SK*y"),
    listRow(
        "EnumerateRegKeyValues", true, &RegistrySlots::EnumerateRegKeyValues, id(5), "a*NDS*1*IS*b*NDS*2*IS*c*NDS*3"),
    listRow("EnumerateRegKeyValues of a missing key", false, &RegistrySlots::EnumerateRegKeyValues, id(5), ""),
    {.name = "DeleteRegKey removes the whole branch",
        .prepare = fill,
        .slot =
            [](RegistryClient &c, const Place &p) {
                I32 root = currentUser;
                Str path(p.key);
                c.reg->DeleteRegKey(c.reg.self(), &root, path.ref());
                return "";
            },
        .id = id(6),
        .args = keyArgs,
        .result = "",
        .effect = [](RegistryClient &c,
                      const Place &p) { return c.dump(p.key) + c.get(p.key + "\\x\\deep", "v", "gone"); },
        .after = "gone"},
    {.name = "DeleteRegKeyValue of the value named after the key",
        .prepare =
            [](RegistryClient &c, const Place &p) {
                c.put(regSz, p.key, p.key, "named");
                c.put(regSz, p.key, "other", "kept");
            },
        .slot =
            [](RegistryClient &c, const Place &p) {
                I32 root = currentUser;
                Str path(p.key), sub("");
                VB ok = 7;
                c.reg->DeleteRegKeyValue(c.reg.self(), &root, path.ref(), sub.ref(), &ok);
                return textOf(ok) + (sub.text() == p.key ? "" : " SubKey not set");
            },
        .id = id(7),
        .args =
            [](const Place &p) {
                return std::vector<Arg> {i4ref(currentUser), sref(p.key), sref("")};
            },
        .result = "True",
        .effect = listOf(&RegistrySlots::EnumerateRegKeyItemNames),
        .after = "other"},
    {.name = "GetRegKeyItems counts values not keys",
        .prepare = fill,
        .slot =
            [](RegistryClient &c, const Place &p) {
                I32 root = currentUser;
                Str path(p.key);
                I16 n = -1;
                c.reg->GetRegKeyItems(c.reg.self(), &root, path.ref(), &n);
                return std::to_string(n);
            },
        .id = id(10),
        .args = keyArgs,
        .result = "3"},
    listRow("EnumerateRegKeyItemNames", true, &RegistrySlots::EnumerateRegKeyItemNames, id(11), "a*IS*b*IS*c"),
    // A root outside the enumeration is passed on, and names no key.
    {.name = "ReadRegKey under an unknown root",
        .slot =
            [](RegistryClient &c, const Place &p) {
                I32 root = 0x12345678;
                Str path(p.key), name("v"), none("none"), out;
                c.reg->ReadRegKey(c.reg.self(), &root, path.ref(), name.ref(), none.ref(), out.out());
                return out.text();
            },
        .id = id(2),
        .args =
            [](const Place &p) {
                return std::vector<Arg> {i4ref(0x12345678), sref(p.key), sref("v"), sref("none")};
            },
        .result = "none"},
    {.name = "ExportRegKey of a missing key keeps the file",
        .prepare = [](RegistryClient &, const Place &p) { std::ofstream(p.path("saved.reg")) << "keep"; },
        .slot = [](RegistryClient &c,
                    const Place &p) { return onFile<&RegistrySlots::ExportRegKey>(c, p, "saved.reg"); },
        .id = id(0),
        .args =
            [](const Place &p) {
                return std::vector<Arg> {i4ref(currentUser), sref(p.key), sref(p.path("saved.reg"))};
            },
        .result = "False",
        .effect = [](RegistryClient &, const Place &p) { return TempTree::read(p.path("saved.reg")); },
        .after = "keep"},
    {.name = "ImportRegKey of a file that is no export",
        .prepare =
            [](RegistryClient &c, const Place &p) {
                fill(c, p);
                std::ofstream(p.path("bad.reg")) << "[broken\nx=y\n";
            },
        .slot = [](RegistryClient &c, const Place &p) { return onFile<&RegistrySlots::ImportRegKey>(c, p, "bad.reg"); },
        .id = id(1),
        .args =
            [](const Place &p) {
                return std::vector<Arg> {i4ref(currentUser), sref(p.key), sref(p.path("bad.reg"))};
            },
        .result = "False",
        .effect = listOf(&RegistrySlots::EnumerateRegKeyValues),
        .after = "a*NDS*1*IS*b*NDS*2*IS*c*NDS*3"},
};

class RegistryOperation : public RegistryClient, public ::testing::WithParamInterface<Row>
{
};

TEST_P(RegistryOperation, GivesTheSameThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(reg);
    runBothWays(static_cast<RegistryClient &>(*this), reg.dispatch(), tree.root(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryOperation, ::testing::ValuesIn(operations), RowName());

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
