// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The system store: registering an installed library for every user with
// mrb-register --system, and the runtime reading the user's store first.
#include "lib/public/interfaces.h"
#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/runtime.h"
#include "platform/registry/registrystore.h"
#include "tests/lib/libraryfile.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace
{

using namespace mrb::platform;
using mrb::test::libraryFile;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

constexpr CLSID clsidAPIFuns = QFC_CLSID_APIFUNS_INIT;
constexpr IID iidAPIFuns = QFC_IID_APIFUNS_INIT;
constexpr CLSID clsidGenFuns = QFC_CLSID_GENFUNS_INIT;

unsigned modeOf(const std::string &path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// An installation in a temporary prefix: the built library in its private
// folder, the system store in its data folder.
class SystemStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(tree.path("prefix/lib/marrowby"));
        std::filesystem::create_symlink(libraryFile(), installed);
    }

    // Runs the built mrb-register through the shell, after shellFirst (such
    // as "umask 000;") and as user (setpriv's name), and gives its exit code;
    // what it said goes to said.
    int runTool(const std::string &arguments, const std::string &shellFirst = "", const std::string &user = "")
    {
        const std::string library = libraryFile();
        const std::string tool = library.substr(0, library.rfind('/')) + "/mrb-register";
        const std::string as = user.empty() ? "" : "setpriv --reuid=" + user + " --regid=nogroup --clear-groups -- ";
        const std::string output = tree.path("mrb-register.out");
        const int rc =
            std::system((shellFirst + as + "'" + tool + "' " + arguments + " >'" + output + "' 2>&1").c_str());
        said = TempTree::read(output);
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }

    std::optional<RegValue> systemValue(const std::string &key) const
    {
        return RegistryStore(system).value(RegistryRoot::ClassesRoot, key, "");
    }

    TempTree tree;
    std::string said;
    const std::string user = tree.path("home/registry");
    const std::string system = tree.path("prefix/share/qfc-registry");
    const std::string installed = tree.path("prefix/lib/marrowby/libQFC_MRB.so");
    ScopedEnv userEnv {"QFC_REGISTRY_DIR", user};
    ScopedEnv systemEnv {"QFC_SYSTEM_REGISTRY_DIR", system};
    const std::string serverKey = "CLSID\\" + formatGuid(clsidAPIFuns) + "\\InprocServer32";
};

TEST_F(SystemStore, ToolRegistersForEveryUserWithAPathInsideTheInstallation)
{
    ASSERT_EQ(runTool("--system '" + installed + "'"), 0);

    EXPECT_EQ(systemValue(serverKey), RegValue::string("../../lib/marrowby/libQFC_MRB.so"));
    EXPECT_EQ(modeOf(system), 0755u);
    EXPECT_EQ(modeOf(RegistryStore(system).fileOf(RegistryRoot::ClassesRoot)), 0644u);
    EXPECT_FALSE(std::filesystem::exists(user)) << "the user's store stays untouched";

    // a user who registered nothing gets the installation's classes
    const auto entry = findClass(clsidAPIFuns);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->serverPath, installed);
    EXPECT_EQ(entry->storeFolder, system);
    EXPECT_EQ(classIdFromProgId("QFC_MRB.GenFuns"), clsidGenFuns);
    HRESULT status = E_FAIL;
    auto api = createInstance<QfcAPIFuns>(clsidAPIFuns, iidAPIFuns, &status);
    ASSERT_EQ(status, S_OK);
    tree.fileWith("set.ini", "[Output]\r\nPath=/srv/out\r\n");
    Bstr file(tree.path("set.ini")), section("Output"), key("Path"), value;
    EXPECT_EQ(api->lpVtbl->ReadIni(api.get(), file.get(), section.get(), key.get(), value.out()), S_OK);
    EXPECT_EQ(value.utf8(), "/srv/out");
    // the code-page table registered with the classes is seen too
    constexpr IID iidGenFuns = QFC_IID_GENFUNS_INIT;
    auto gen = createInstance<QfcGenFuns>(clsidGenFuns, iidGenFuns, &status);
    ASSERT_EQ(status, S_OK);
    Bstr charsets;
    EXPECT_EQ(gen->lpVtbl->GetCharsetList(gen.get(), charsets.out()), S_OK);
    EXPECT_NE(charsets.utf8().find("utf-8 | "), std::string::npos) << charsets.utf8();

    ASSERT_EQ(runTool("--system '" + installed + "' --unregister"), 0);
    EXPECT_FALSE(systemValue(serverKey).has_value());
    EXPECT_FALSE(findClass(clsidAPIFuns).has_value());
    // what other libraries registered there stays readable
    EXPECT_EQ(modeOf(RegistryStore(system).fileOf(RegistryRoot::ClassesRoot)), 0644u);
}

// Under umask 000 the folders it made used to be world-writable.
TEST_F(SystemStore, WhatTheToolMakesIsTheOwnersAloneWhateverTheUmask)
{
    ASSERT_EQ(runTool("--system '" + installed + "'", "umask 000; "), 0) << said;
    for (const std::string &made : {tree.path("prefix/share"), system})
        EXPECT_EQ(modeOf(made), 0755u) << made;
    for (const std::string &made : {RegistryStore(system).fileOf(RegistryRoot::ClassesRoot), system + "/.lock"})
        EXPECT_EQ(modeOf(made), 0644u) << made;
}

// A user used to be told "cannot create ...: Operation not permitted" of the
// store that was there.
TEST_F(SystemStore, AUserIsToldTheStoreIsItsOwnersToChange)
{
    if (!mrb::test::runningAsRoot())
        GTEST_SKIP() << "the store needs an owner other than the user";
    ASSERT_EQ(runTool("--system '" + installed + "'"), 0) << said;
    ::chmod(tree.root().c_str(), 0755);
    for (const char *more : {"", " --unregister"}) {
        SCOPED_TRACE(more);
        EXPECT_EQ(runTool("--system '" + installed + "'" + more, "", "nobody"), 1);
        EXPECT_EQ(said,
            "mrb-register: cannot change the installation's store " + system
                + ": Permission denied (only its owner may: run mrb-register --system as that user)\n");
    }
    EXPECT_TRUE(systemValue(serverKey).has_value());
}

TEST_F(SystemStore, TheUsersRegistrationComesFirst)
{
    const std::string elsewhere = "/opt/elsewhere/libQFC_MRB.so";
    const struct {
        const char *name;
        const char *userValue; // nullptr: none; "!" a store that cannot be read
        const char *systemValue;
        std::string serverPath; // "" not registered
    } cases[] = {
        {"neither", nullptr, nullptr, ""},
        {"system only", nullptr, "../../lib/marrowby/libQFC_MRB.so", installed},
        {"user only", "/opt/elsewhere/libQFC_MRB.so", nullptr, elsewhere},
        {"both: the user's", "/opt/elsewhere/libQFC_MRB.so", "/usr/lib/marrowby/libQFC_MRB.so", elsewhere},
        {"an unreadable user store hides nothing",
            "!",
            "/usr/lib/marrowby/libQFC_MRB.so",
            "/usr/lib/marrowby/libQFC_MRB.so"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(user);
        std::filesystem::remove_all(system);
        if (c.userValue && std::string(c.userValue) == "!") {
            tree.fileWith("home/registry/HKEY_CLASSES_ROOT.reg", "not a registry file\n");
        } else if (c.userValue) {
            ASSERT_TRUE(
                RegistryStore(user).setValue(RegistryRoot::ClassesRoot, serverKey, "", RegValue::string(c.userValue)));
        }
        if (c.systemValue) {
            ASSERT_TRUE(RegistryStore(system).setValue(
                RegistryRoot::ClassesRoot, serverKey, "", RegValue::string(c.systemValue)));
        }
        const auto entry = findClass(clsidAPIFuns);
        EXPECT_EQ(entry ? entry->serverPath : std::string(), c.serverPath);
    }
}

} // namespace
