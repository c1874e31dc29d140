// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <string>

using mrb::core::LocalApiFuns;
using mrb::core::LocalGenFuns;
using mrb::platform::ObjectRef;
using mrb::platform::Value;
using mrb::test::TempTree;

TEST(ReadIni, ValueWithoutNulOrLeadingBlanks)
{
    TempTree tree;
    const std::string ini = tree.fileWith("options.dll",
        "[Common]\r\n"
        "Unit=abc\r\n"
        "Quoted=\"   padded\"\r\n"
        "Trailing=\"kept  \"\r\n"
        "Blank=\"   \"\r\n"
        "Empty=\r\n");
    LocalApiFuns api;
    EXPECT_EQ(api.readIni(ini, "Common", "Unit"), "abc");
    EXPECT_EQ(api.readIni(ini, "Common", "Unit").size(), 3u);
    EXPECT_EQ(api.readIni(ini, "Common", "Quoted"), "padded");
    // The library trims its buffer around the NUL, so trailing blanks inside
    // quotes stay.
    EXPECT_EQ(api.readIni(ini, "Common", "Trailing"), "kept  ");
    EXPECT_EQ(api.readIni(ini, "Common", "Blank"), "");
    EXPECT_EQ(api.readIni(ini, "Common", "Empty"), "");
    EXPECT_EQ(api.readIni(ini, "Common", "Missing"), "");
    EXPECT_EQ(api.readIni(ini, "common", "unit"), "abc");
}

TEST(ReadIni, MissingFileReadsEmptyForEveryKey)
{
    TempTree tree;
    LocalApiFuns api;
    const std::string missing = tree.path("nowhere/options.dll");
    EXPECT_EQ(api.readIni(missing, "Common", "Path"), "");
    EXPECT_EQ(api.readIni(missing, "System", "Dialog"), "");
}

TEST(ReadIni, LongValueIsCutToTheLibraryBuffer)
{
    TempTree tree;
    const std::string ini = tree.fileWith("a.ini", "[S]\r\nk=" + std::string(70000, 'v') + "\r\n");
    LocalApiFuns api;
    EXPECT_EQ(api.readIni(ini, "S", "k"), std::string(65534, 'v'));
}

TEST(WriteIni, CreatesFileAndReplacesInPlace)
{
    TempTree tree;
    LocalApiFuns api;
    const std::string ini = tree.path("options.dll");
    api.writeIni(ini, "Common", "Path", "True");
    EXPECT_EQ(TempTree::read(ini), "[Common]\r\nPath=True\r\n");

    const std::string other =
        tree.fileWith("other.dll", "[Common]\r\nPath=True\r\n; note\r\nSize=False\r\n[Mine]\r\nx=1\r\n");
    api.writeIni(other, "Common", "Path", "False");
    EXPECT_EQ(TempTree::read(other), "[Common]\r\nPath=False\r\n; note\r\nSize=False\r\n[Mine]\r\nx=1\r\n");
}

TEST(LocalInVar, SettingsCheckAndAttributePairs)
{
    LocalGenFuns gen;
    const std::vector<Value> trueFalse = {Value {std::string("True")}, Value {std::string("False")}};
    EXPECT_TRUE(gen.inVar(Value {std::string("True")}, trueFalse));
    EXPECT_FALSE(gen.inVar(Value {std::string("true")}, trueFalse));
    EXPECT_FALSE(gen.inVar(Value {std::string("")}, trueFalse));
    EXPECT_TRUE(gen.inVar(Value {std::int64_t {19}}, {Value {std::int64_t {18}}, Value {std::int64_t {19}}}));
    EXPECT_TRUE(gen.inVar(Value {std::int64_t {5}}, {Value {ObjectRef {}}, Value {5.0}}));
    EXPECT_FALSE(gen.inVar(Value {std::int64_t {5}}, {}));
}
