// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// APIFuns' resource libraries, process ending and deferred deletes through the
// binary interface, each through its slot and through Invoke.
#include "tests/lib/abiclient.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

using namespace abiclient;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

constexpr I32 localMachine = static_cast<I32>(0x80000002u);
const std::string sessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const std::string pendingDeletes = sessionManager + "\\PendingDeletes";

// The built resource library of strings (tests/lib/teststrings.c).
std::string stringLibrary()
{
    return std::filesystem::path(mrb::test::libraryFile()).parent_path().string() + "/teststrings.so";
}

// Makes program a file of its own name with target's content (a hard link
// when the file system allows one).
void copyProgram(const std::string &target, const std::string &program)
{
    if (::link(target.c_str(), program.c_str()) != 0)
        std::filesystem::copy_file(target, program);
    ::chmod(program.c_str(), 0755);
}

pid_t start(const std::string &program, const std::vector<std::string> &arguments)
{
    std::vector<char *> argv {const_cast<char *>(program.c_str())};
    for (const std::string &a : arguments)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// "ended" when the child was killed, "exited N" when it ended by itself.
std::string outcome(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return "lost";
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGKILL ? "ended" : "signal " + std::to_string(WTERMSIG(status));
    return "exited " + std::to_string(WEXITSTATUS(status));
}

// This test program once more, as a new process named program, running one
// test; how it ended.
std::string runSelfAs(const std::string &program, const std::string &test)
{
    copyProgram(std::filesystem::read_symlink("/proc/self/exe").string(), program);
    return outcome(start(program, {"--gtest_filter=" + test}));
}

class SystemClient : public ::testing::Test
{
public:
    TempTree tree;
    ScopedEnv store {"QFC_REGISTRY_DIR", tree.path("registry")};
    Object<APIFunsSlots> api {clsidAPIFuns, iidAPIFuns};
    Object<RegistrySlots> reg {clsidRegistry, iidRegistry};

    std::string dllString(I32 handle, I32 resource)
    {
        Str out;
        api->GetDLLString(api.self(), handle, resource, out.out());
        return out.text();
    }
    Case load(std::string name, std::string file, std::string result)
    {
        return {name,
            nullptr,
            [=, this](const Place &) {
                I32 handle = -1;
                api->LoadDLL(api.self(), Str(file).get(), &handle);
                return std::to_string(handle);
            },
            id(33),
            [=](const Place &) { return std::vector<Arg> {s(file)}; },
            result};
    }
    Case string(std::string name, I32 handle, I32 resource, std::string result)
    {
        return {name,
            nullptr,
            [=, this](const Place &) { return dllString(handle, resource); },
            id(34),
            [=](const Place &) {
                return std::vector<Arg> {i4(handle), i4(resource)};
            },
            result};
    }
    std::string keys(const std::string &path)
    {
        I32 root = localMachine;
        Str p(path), out;
        reg->EnumerateRegKeys(reg.self(), &root, p.ref(), out.out());
        return out.text();
    }
    std::string regValue(const std::string &path, const std::string &name)
    {
        I32 root = localMachine;
        Str p(path), n(name), none(""), out;
        reg->ReadRegKey(reg.self(), &root, p.ref(), n.ref(), none.ref(), out.out());
        return out.text();
    }
    void setRegText(const std::string &path, const std::string &name, const std::string &value)
    {
        I32 type = 1, root = localMachine;
        Str p(path), n(name), v(value);
        VB ok = 0;
        reg->WriteRegKey(reg.self(), &type, &root, p.ref(), n.ref(), v.ref(), &ok);
    }
};

TEST_F(SystemClient, ResourceLibrariesThroughTheirSlotsAndThroughInvoke)
{
    ASSERT_TRUE(api);
    I32 handle = 0;
    ASSERT_EQ(api->LoadDLL(api.self(), Str(stringLibrary()).get(), &handle), S_OK);
    ASSERT_NE(handle, 0);
    const std::string notALibrary = tree.fileWith("strings.txt", "101=Western European\n");
    std::string longest; // the 300 digits of string 103 as 254 fit
    for (int i = 0; i < 254; ++i)
        longest += static_cast<char>('0' + i % 10);
    runBothWays(api.dispatch(),
        tree.root(),
        {
            load("LoadDLL of the library again", stringLibrary(), std::to_string(handle)),
            load("LoadDLL of a missing file", tree.path("missing.so"), "0"),
            load("LoadDLL of a text file", notALibrary, "0"),
            load("LoadDLL of no name", "", "0"),
            string("GetDLLString", handle, 101, "Western European (Windows)"),
            string("GetDLLString keeps UTF-8", handle, 102, "Unicode (UTF-8) \xE2\x80\x94 \xC3\xA9t\xC3\xA9"),
            string("GetDLLString fills a buffer of 255", handle, 103, longest),
            string("GetDLLString of a missing string", handle, 999, ""),
            string("GetDLLString of no library", 0, 101, ""),
        });
    // Every load above counts: the library stays until the last unload.
    for (int loads = 1 + 2; loads > 0; --loads) {
        EXPECT_EQ(dllString(handle, 101), "Western European (Windows)") << loads << " loads left";
        ASSERT_EQ(api->UnloadDLL(api.self(), handle), S_OK);
    }
    EXPECT_EQ(dllString(handle, 101), "") << "a handle of an unloaded library is stale";
    EXPECT_EQ(api->UnloadDLL(api.self(), handle), S_OK);
}

TEST_F(SystemClient, KillProcessEndsEveryProcessWhoseNameEndsSoInAnyCase)
{
    const std::string tag = std::to_string(::getpid());
    const std::string victim = tree.path("qfcvictim" + tag);
    copyProgram("/bin/sleep", victim);
    pid_t child = 0;
    const auto startVictim = [&](const Place &) {
        child = start(victim, {"30"});
        // until the child runs the program (before, it is still this one)
        const std::string exe = "/proc/" + std::to_string(child) + "/exe";
        std::error_code ec;
        for (int i = 0; i < 200 && std::filesystem::read_symlink(exe, ec).filename() != "qfcvictim" + tag; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    const auto fate = [&](const Place &) {
        if (::kill(child, 0) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::kill(child, SIGTERM); // ours, ended by its id
        }
        return outcome(child);
    };
    const auto kill = [this](std::string name) {
        return [this, name](
                   const Place &) { return api->KillProcess(api.self(), Str(name).get()) == S_OK ? "" : "failed"; };
    };
    const auto args = [](std::string name) { return [name](const Place &) { return std::vector<Arg> {s(name)}; }; };
    runBothWays(api.dispatch(),
        tree.root(),
        {
            {"KillProcess by a suffix in upper case",
                startVictim,
                kill("VICTIM" + tag),
                id(36),
                args("VICTIM" + tag),
                "",
                fate,
                "ended"},
            {"KillProcess of nothing", startVictim, kill(""), id(36), args(""), "", fate, "signal 15"},
            {"KillProcess of another name",
                startVictim,
                kill("QFCVICTIM" + tag + "X"),
                id(36),
                args("QFCVICTIM" + tag + "X"),
                "",
                fate,
                "signal 15"},
        });
}

// The process that calls KillProcess with its own name used to end itself.
TEST_F(SystemClient, KillProcessNeverEndsItsCaller)
{
    ScopedEnv mode("QFC_TEST_KILL_OWN_NAME", "CALLER" + std::to_string(::getpid()));
    EXPECT_EQ(runSelfAs(tree.path("qfccaller" + std::to_string(::getpid())), "SystemChild.EndsItsOwnName"), "exited 0");
}

// Run as a child process by the test above (skipped on its own).
TEST(SystemChild, EndsItsOwnName)
{
    const char *own = std::getenv("QFC_TEST_KILL_OWN_NAME");
    if (!own)
        GTEST_SKIP() << "run by KillProcessNeverEndsItsCaller";
    Object<APIFunsSlots> api(clsidAPIFuns, iidAPIFuns);
    ASSERT_TRUE(api);
    EXPECT_EQ(api->KillProcess(api.self(), Str(own).get()), S_OK);
}

TEST_F(SystemClient, DelUntilRebootDeletesTheVeryFileAtTheFirstStartAfterARestart)
{
    const std::string old = tree.fileWith("old.log", "x");
    const std::string replaced = tree.fileWith("replaced.log", "x");
    const std::string folder = tree.dir("empty folder");
    const std::string link = tree.symlink("link", old);
    runBothWays(api.dispatch(),
        tree.root(),
        {
            {"DelUntilReboot records",
                nullptr,
                [&](const Place &) { return api->DelUntilReboot(api.self(), Str(old).get()) == S_OK ? "" : "failed"; },
                id(27),
                [&](const Place &) { return std::vector<Arg> {s(old)}; },
                "",
                [&](const Place &) {
                    return keys(pendingDeletes) + " " + regValue(sessionManager, "AllowProtectedRenames");
                },
                "1 1"},
        });
    for (const std::string &file : {replaced, folder, link, tree.path("missing")})
        ASSERT_EQ(api->DelUntilReboot(api.self(), Str(file).get()), S_OK);
    EXPECT_EQ(keys(pendingDeletes), "1*SK*2*SK*3*SK*4");
    // As if the system had restarted since: the entries belong to an earlier boot.
    for (const char *entry : {"1", "2", "3", "4"})
        setRegText(pendingDeletes + "\\" + entry, "BootId", "an earlier boot");
    // Another file under the name recorded is not the file recorded.
    const std::string fresh = tree.fileWith("fresh.log", "new");
    std::filesystem::rename(fresh, replaced);
    const std::string today = tree.fileWith("today.log", "x");
    ASSERT_EQ(api->DelUntilReboot(api.self(), Str(today).get()), S_OK);
    EXPECT_TRUE(std::filesystem::exists(old));

    ScopedEnv mode("QFC_TEST_LIBRARY_START", "1");
    EXPECT_EQ(runSelfAs(tree.path("qfcstart"), "SystemChild.StartsTheLibrary"), "exited 0");
    EXPECT_FALSE(std::filesystem::exists(old));
    EXPECT_EQ(TempTree::read(replaced), "new");
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::exists(today));
    EXPECT_EQ(keys(pendingDeletes), "5") << "carried out once; this boot's entry waits";
}

// The file system hands a freed inode number straight out again: a file made
// under the recorded name after the recorded file was deleted used to be
// deleted in its place. Here the entry is given the new file's device and
// inode, as that reuse would.
TEST_F(SystemClient, DelUntilRebootKeepsAFileMadeLaterOnTheFreedInode)
{
    const std::string file = tree.fileWith("reused.log", "recorded");
    ASSERT_EQ(api->DelUntilReboot(api.self(), Str(file).get()), S_OK);
    ASSERT_EQ(keys(pendingDeletes), "1");
    std::filesystem::remove(file);
    tree.fileWith("reused.log", "made later");
    struct stat st {
    };
    ASSERT_EQ(::lstat(file.c_str(), &st), 0);
    const std::string entry = pendingDeletes + "\\1";
    setRegText(entry, "Device", std::to_string(st.st_dev));
    setRegText(entry, "Inode", std::to_string(st.st_ino));
    setRegText(entry, "BootId", "an earlier boot");

    ScopedEnv mode("QFC_TEST_LIBRARY_START", "1");
    EXPECT_EQ(runSelfAs(tree.path("qfcstart"), "SystemChild.StartsTheLibrary"), "exited 0");
    EXPECT_EQ(TempTree::read(file), "made later");
    EXPECT_EQ(keys(pendingDeletes), "") << "the entry is forgotten all the same";
}

// Run as a child process by the test above, with its registry store (skipped on its own).
TEST(SystemChild, StartsTheLibrary)
{
    if (!std::getenv("QFC_TEST_LIBRARY_START"))
        GTEST_SKIP() << "run by DelUntilRebootDeletesTheVeryFileAtTheFirstStartAfterARestart";
    Object<APIFunsSlots> api(clsidAPIFuns, iidAPIFuns);
    EXPECT_TRUE(api);
}

} // namespace
