// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The program's view of the library: ApiFuns and GenFuns on real library
// objects created by class identifier.
#include "app/library/com/libraryobjects.h"
#include "platform/com/runtime.h"
#include "tests/lib/libraryfile.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

namespace
{

using mrb::core::LibraryObjects;
using mrb::platform::Value;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;
using namespace std::string_literals;

class LibraryObjectsTest : public ::testing::Test
{
protected:
    TempTree tree;
    ScopedEnv registry {"QFC_REGISTRY_DIR", tree.path("registry")};
};

TEST_F(LibraryObjectsTest, SayWhichClassFailedWhenTheLibraryIsNotRegistered)
{
    const LibraryObjects objects = mrb::core::createLibraryObjects();
    EXPECT_FALSE(objects.ok());
    EXPECT_NE(objects.error.find("QFC_MRB.APIFuns"), std::string::npos) << objects.error;
    EXPECT_NE(objects.error.find("{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}"), std::string::npos) << objects.error;
    EXPECT_NE(objects.error.find("not registered"), std::string::npos) << objects.error;
}

TEST_F(LibraryObjectsTest, SayWhichLibraryCouldNotBeLoaded)
{
    ASSERT_EQ(mrb::platform::registerLibrary(mrb::test::libraryFile()), S_OK);
    // Point the classes at a library that is gone.
    tree.fileWith("registry/HKEY_CLASSES_ROOT.reg",
        "QFC-REGISTRY 1\n[CLSID\\{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}\\InprocServer32]\n@=\""
            + tree.path("old/libQFC_MRB.so") + "\"\n");
    const LibraryObjects objects = mrb::core::createLibraryObjects();
    EXPECT_FALSE(objects.ok());
    EXPECT_NE(objects.error.find(tree.path("old/libQFC_MRB.so")), std::string::npos) << objects.error;
}

class RegisteredLibrary : public LibraryObjectsTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mrb::platform::registerLibrary(mrb::test::libraryFile()), S_OK);
        objects = mrb::core::createLibraryObjects();
        ASSERT_TRUE(objects.ok()) << objects.error;
        EXPECT_TRUE(objects.error.empty());
    }
    LibraryObjects objects;
};

TEST_F(RegisteredLibrary, WritesAndReadsTheSettingsFile)
{
    const std::string file = tree.path("options.dll");
    objects.apiFuns->writeIni(file, "Common", "Path", "True");
    objects.apiFuns->writeIni(file, "Output", "Path", "/home/u/out put");
    objects.apiFuns->writeIni(file, "Common", "Path", "False");
    EXPECT_EQ(TempTree::read(file), "[Common]\r\nPath=False\r\n[Output]\r\nPath=/home/u/out put\r\n");
    EXPECT_EQ(objects.apiFuns->readIni(file, "COMMON", "path"), "False");
    EXPECT_EQ(objects.apiFuns->readIni(file, "Output", "Missing"), "");
    EXPECT_EQ(objects.apiFuns->readIni(tree.path("missing.dll"), "Common", "Path"), "");
}

TEST_F(RegisteredLibrary, ReplacesAValueInPlaceAndLeavesEveryOtherLineAlone)
{
    const std::string file = tree.fileWith(
        "options.dll", "; settings\r\n[Common]\r\nPath=True\r\nSub = False\r\n\r\n[Output]\r\nPath=/x\r\n");
    objects.apiFuns->writeIni(file, "common", "SUB", "True");
    EXPECT_EQ(TempTree::read(file), "; settings\r\n[Common]\r\nPath=True\r\nSub=True\r\n\r\n[Output]\r\nPath=/x\r\n");
}

TEST_F(RegisteredLibrary, KeepsNonUtf8BytesAndQuotedBlanks)
{
    const std::string file = tree.fileWith("odd.ini", "[S]\r\nName=\"  caf\xe9 \"\r\n");
    // A leading blank only survives inside quotes, and the library drops it.
    EXPECT_EQ(objects.apiFuns->readIni(file, "S", "Name"), "caf\xe9 ");
}

TEST_F(RegisteredLibrary, TestsListMembershipByAutomationRules)
{
    auto &gen = *objects.genFuns;
    EXPECT_TRUE(gen.inVar(Value(std::string("True")), {Value(std::string("True")), Value(std::string("False"))}));
    EXPECT_FALSE(gen.inVar(Value(std::string("true")), {Value(std::string("True")), Value(std::string("False"))}));
    EXPECT_TRUE(gen.inVar(Value(std::int64_t(19)), {Value(std::int64_t(18)), Value(19.0)}));
    EXPECT_FALSE(gen.inVar(Value(std::int64_t(5)), {Value(std::string("5"))}));
    EXPECT_TRUE(gen.inVar(Value(std::int64_t(5)), {Value(mrb::platform::ObjectRef {}), Value(std::int64_t(5))}));
    EXPECT_FALSE(gen.inVar(Value(std::int64_t(5)), {}));
    EXPECT_FALSE(gen.inVar(Value(mrb::platform::Null {}), {Value(mrb::platform::Null {})}));
}

TEST_F(RegisteredLibrary, DialogsWithoutAnApplicationGiveEmptyResults)
{
    EXPECT_EQ(objects.apiFuns->getFileSaveName(0, "Save", "", "Lists\0*.m3u"s, tree.root(), "m3u"), "");
    EXPECT_EQ(objects.apiFuns->chooseFolder(0, "Please choose an output folder."), "");
}

} // namespace
