// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/registry/registrystore.h"
#include "tests/support/isolation.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

using namespace mrb::platform;
using namespace std::string_literals;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

class Store : public ::testing::Test
{
protected:
    TempTree tree;
    RegistryStore store {tree.path("reg")};
};

TEST_F(Store, AMissingFolderReadsAsEmptyRootsAndIsNotCreatedByReading)
{
    const auto root = store.load(RegistryRoot::CurrentUser);
    ASSERT_TRUE(root.ok());
    EXPECT_FALSE(root->hasSubKeys());
    EXPECT_FALSE(store.value(RegistryRoot::CurrentUser, "Software", "").has_value());
    EXPECT_FALSE(std::filesystem::exists(tree.path("reg")));
}

TEST_F(Store, KeepsOneFilePerRoot)
{
    ASSERT_TRUE(
        store.setValue(RegistryRoot::ClassesRoot, "CLSID\\{X}\\InprocServer32", "", RegValue::string("/lib/x.so")));
    ASSERT_TRUE(store.setValue(RegistryRoot::LocalMachine, "Software\\Y", "Count", RegValue::dword(10)));
    EXPECT_EQ(TempTree::read(tree.path("reg/HKEY_CLASSES_ROOT.reg")),
        "QFC-REGISTRY 1\n\n[CLSID]\n\n[CLSID\\{X}]\n\n[CLSID\\{X}\\InprocServer32]\n@=\"/lib/x.so\"\n\n");
    EXPECT_EQ(TempTree::read(tree.path("reg/HKEY_LOCAL_MACHINE.reg")),
        "QFC-REGISTRY 1\n\n[Software]\n\n[Software\\Y]\n\"Count\"=dword:0000000a\n\n");
    EXPECT_FALSE(std::filesystem::exists(tree.path("reg/HKEY_CURRENT_USER.reg")));
}

TEST_F(Store, MatchesNamesWithoutRegardToCaseAndKeepsTheFirstSpelling)
{
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, "Software\\Marrowby", "Path", RegValue::string("a")));
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, "SOFTWARE\\marrowby", "PATH", RegValue::string("b")));
    const auto root = store.load(RegistryRoot::CurrentUser);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->subKeyNames(), std::vector<std::string> {"Software"});
    const RegistryKey *key = root->find("software\\MARROWBY");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->name(), "Marrowby");
    ASSERT_EQ(key->values().size(), 1u);
    EXPECT_EQ(key->values()[0].first, "Path");
    EXPECT_EQ(key->values()[0].second, RegValue::string("b"));
    // Doubled and outer separators are ignored.
    EXPECT_NE(root->find("\\Software\\\\Marrowby\\"), nullptr);
}

TEST_F(Store, KeepsValuesInTheOrderTheyWereFirstSetAndSubKeysSorted)
{
    RegistryKey root;
    RegistryKey &key = root.create("K");
    key.setValue("b", RegValue::string("1"));
    key.setValue("a", RegValue::string("2"));
    key.setValue("B", RegValue::string("3"));
    root.create("K\\zeta");
    root.create("K\\Alpha");
    root.create("K\\beta");
    EXPECT_EQ(key.values()[0].first, "b");
    EXPECT_EQ(key.values()[1].first, "a");
    EXPECT_EQ(key.subKeyNames(), (std::vector<std::string> {"Alpha", "beta", "zeta"}));
}

TEST_F(Store, NeverOverwritesAFileItCannotRead)
{
    const std::string file = tree.fileWith("reg/HKEY_CURRENT_USER.reg", "[Software]\nnot our format\n");
    const Result<> updated = store.update(RegistryRoot::CurrentUser, [](RegistryKey &) { return true; });
    EXPECT_FALSE(updated);
    const std::string &error = updated.reason();
    EXPECT_NE(error.find("HKEY_CURRENT_USER.reg"), std::string::npos) << error;
    EXPECT_FALSE(store.setValue(RegistryRoot::CurrentUser, "Software", "x", RegValue::dword(1)));
    EXPECT_FALSE(store.load(RegistryRoot::CurrentUser).ok());
    EXPECT_EQ(TempTree::read(file), "[Software]\nnot our format\n");
}

// A key path of depth levels, "k\\k\\...".
std::string deepPath(std::size_t depth)
{
    std::string path = "k";
    for (std::size_t i = 1; i < depth; ++i)
        path += "\\k";
    return path;
}

// Each used to crash or hang whoever read the store: a key 50,000 levels deep
// overflowed the stack of the walks over the tree, a FIFO in the file's place
// held the open for ever. Each is refused, naming the file and the reason.
TEST_F(Store, RefusesHostileFilesNamingFileAndReason)
{
    const std::string file = store.fileOf(RegistryRoot::ClassesRoot);
    const struct {
        const char *name;
        std::function<void()> make;
        const char *reason;
    } cases[] = {
        {"deep key",
            [&] { tree.fileWith("reg/HKEY_CLASSES_ROOT.reg", "QFC-REGISTRY 1\n[" + deepPath(50000) + "]\n"); },
            "deeper than 512 levels"},
        {"fifo", [&] { tree.fifo("reg/HKEY_CLASSES_ROOT.reg"); }, "not a regular file"},
        {"folder", [&] { tree.dir("reg/HKEY_CLASSES_ROOT.reg"); }, "it is a folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(tree.path("reg"));
        c.make();
        const auto readAndChange = [&] {
            const Result<RegistryKey> loaded = store.load(RegistryRoot::ClassesRoot);
            EXPECT_FALSE(loaded.ok());
            const std::string &error = loaded.reason();
            EXPECT_NE(error.find(file), std::string::npos) << error;
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
            EXPECT_FALSE(store.setValue(RegistryRoot::ClassesRoot, "Software", "x", RegValue::dword(1)));
            return ::testing::Test::HasFailure() ? 1 : 0;
        };
        EXPECT_EQ(mrb::test::runInChild(readAndChange, std::chrono::seconds(10)), 0);
    }
}

TEST_F(Store, KeysNestAtMost512LevelsDeep)
{
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, deepPath(512), "", RegValue::string("deepest")));
    const std::string before = TempTree::read(store.fileOf(RegistryRoot::CurrentUser));
    EXPECT_EQ(store.value(RegistryRoot::CurrentUser, deepPath(512), ""), RegValue::string("deepest"));

    const auto tooDeep = [&] {
        const Result<> updated = store.update(RegistryRoot::CurrentUser, [](RegistryKey &root) {
            root.create(deepPath(50000));
            return true;
        });
        EXPECT_FALSE(updated);
        const std::string &error = updated.reason();
        EXPECT_NE(error.find("deeper than 512 levels"), std::string::npos) << error;
        return ::testing::Test::HasFailure() ? 1 : 0;
    };
    EXPECT_EQ(mrb::test::runInChild(tooDeep, std::chrono::seconds(10)), 0);
    EXPECT_EQ(TempTree::read(store.fileOf(RegistryRoot::CurrentUser)), before);
}

// A change could make a file larger than the store reads back (64 MiB): a
// path of 512 levels is written again in full for each level, so one deep
// key of long names passes it, and from then on every read of the root failed.
TEST_F(Store, RefusesAChangeItCouldNotReadBack)
{
    ASSERT_TRUE(store.setValue(RegistryRoot::ClassesRoot, "Kept", "", RegValue::string("as it was")));
    const std::string file = store.fileOf(RegistryRoot::ClassesRoot);
    const std::string before = TempTree::read(file);
    std::string path;
    for (std::size_t level = 0; level < RegistryStore::maxKeyDepth; ++level)
        path += std::string(520, 'n') + "\\";
    const Result<> updated = store.update(RegistryRoot::ClassesRoot, [&](RegistryKey &root) {
        root.create(path);
        return true;
    });
    EXPECT_FALSE(updated);
    const std::string &error = updated.reason();
    EXPECT_NE(error.find(file + ": the change would make it larger than 64 MiB"), std::string::npos) << error;
    EXPECT_EQ(TempTree::read(file), before);
    EXPECT_TRUE(store.setValue(RegistryRoot::ClassesRoot, "Kept", "more", RegValue::dword(1)));
}

// Values are found through an index by name: it must follow every removal.
TEST_F(Store, FindsEveryValueByNameAfterRemovals)
{
    RegistryKey key;
    for (const char *name : {"a", "b", "c", "d", "e"})
        key.setValue(name, RegValue::string(name));
    EXPECT_TRUE(key.removeValue("B"));
    EXPECT_TRUE(key.removeValue("a"));
    key.setValue("D", RegValue::string("changed"));
    key.setValue("b", RegValue::string("again"));
    std::vector<std::string> order;
    for (const auto &[name, value] : key.values())
        order.push_back(name + "=" + value.data);
    EXPECT_EQ(order, (std::vector<std::string> {"c=c", "d=changed", "e=e", "b=again"}));
    for (const auto &[name, text] :
        std::vector<std::pair<std::string, std::string>> {{"C", "c"}, {"d", "changed"}, {"e", "e"}, {"B", "again"}}) {
        SCOPED_TRACE(name);
        const RegValue *value = key.value(name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->data, text);
    }
    EXPECT_EQ(key.value("a"), nullptr);
    key.clearValues();
    EXPECT_EQ(key.value("c"), nullptr);
    EXPECT_TRUE(key.values().empty());
}

TEST_F(Store, DeletesKeysWithEverythingBelowAndSingleValues)
{
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, "A\\B\\C", "v", RegValue::string("1")));
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, "A", "keep", RegValue::string("2")));
    EXPECT_TRUE(store.deleteKey(RegistryRoot::CurrentUser, "a\\b"));
    EXPECT_FALSE(store.keyExists(RegistryRoot::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(store.keyExists(RegistryRoot::CurrentUser, "A"));
    EXPECT_FALSE(store.deleteKey(RegistryRoot::CurrentUser, "A\\B"));
    EXPECT_FALSE(store.deleteKey(RegistryRoot::CurrentUser, ""));
    EXPECT_TRUE(store.deleteValue(RegistryRoot::CurrentUser, "A", "KEEP"));
    EXPECT_FALSE(store.deleteValue(RegistryRoot::CurrentUser, "A", "keep"));
}

TEST_F(Store, LeavesNoTemporaryFilesBehind)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(store.setValue(RegistryRoot::Users, "K", "n" + std::to_string(i), RegValue::dword(i)));
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(tree.path("reg")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {".lock", "HKEY_USERS.reg"}));
}

TEST_F(Store, LosesNoChangeWhenProcessesWriteAtOnce)
{
    constexpr int writers = 4;
    constexpr int perWriter = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            RegistryStore mine(tree.path("reg"));
            bool ok = true;
            for (int i = 0; i < perWriter; ++i)
                ok = mine.setValue(RegistryRoot::CurrentUser,
                         "Shared",
                         "w" + std::to_string(w) + "_" + std::to_string(i),
                         RegValue::dword(i))
                    && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto root = store.load(RegistryRoot::CurrentUser);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->find("Shared")->values().size(), static_cast<std::size_t>(writers * perWriter));
}

TEST(StoreFolder, ComesFromTheOverrideThenTheConfigurationFolder)
{
    {
        ScopedEnv a("QFC_REGISTRY_DIR", "/tmp/private-registry");
        EXPECT_EQ(RegistryStore::defaultFolder(), "/tmp/private-registry");
    }
    ScopedEnv none("QFC_REGISTRY_DIR", "");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/home/u/.cfg");
        EXPECT_EQ(RegistryStore::defaultFolder(), "/home/u/.cfg/qfc-registry");
    }
    ScopedEnv noConfig("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(RegistryStore::defaultFolder(), "/home/u/.config/qfc-registry");
}

TEST(RegistryRoots, AreKnownByTheirHandleValues)
{
    EXPECT_EQ(registryRootOf(0x80000000u), RegistryRoot::ClassesRoot);
    EXPECT_EQ(registryRootOf(0x80000005u), RegistryRoot::CurrentConfig);
    EXPECT_FALSE(registryRootOf(0x80000004u).has_value());
    EXPECT_EQ(registryRootName(RegistryRoot::Users), "HKEY_USERS");
}

} // namespace
