// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"
#include "app/settings/settingsstore.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using mrb::core::LocalApiFuns;
using mrb::core::LocalGenFuns;
using mrb::core::Setting;
using mrb::core::settingByName;
using mrb::core::settingCount;
using mrb::core::SettingsStore;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

bool isFolder(const std::string &path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The file as written for a program in folder, key by key.
std::string freshFile(const std::string &folder)
{
    return "[Common]\r\n"
           "Path=True\r\n"
           "Size=True\r\n"
           "Unit=KB\r\n"
           "Precision=2\r\n"
           "Type=True\r\n"
           "Modified=True\r\n"
           "Created=True\r\n"
           "Accessed=True\r\n"
           "Sub=False\r\n"
           "Item=Files\r\n"
           "[Output]\r\n"
           "FileType=Playlist\r\n"
           "Separator={Tab}\r\n"
           "Repeat=0\r\n"
           "Standard=True\r\n"
           "Path="
        + folder
        + "/output\r\n"
          "Header=False\r\n"
          "Delete=False\r\n"
          "[System]\r\n"
          "Dialog=False\r\n";
}

// Notes each library call, and for writes whether the output folder exists at
// that moment.
class RecordingApi : public LocalApiFuns
{
public:
    explicit RecordingApi(std::string outputFolder)
        : m_outputFolder(std::move(outputFolder))
    {
    }
    std::string readIni(const std::string &file, const std::string &section, const std::string &key) override
    {
        calls.push_back("read " + section + "." + key);
        return LocalApiFuns::readIni(file, section, key);
    }
    void writeIni(
        const std::string &file, const std::string &section, const std::string &key, const std::string &value) override
    {
        calls.push_back("write " + section + "." + key + (isFolder(m_outputFolder) ? " (output exists)" : ""));
        LocalApiFuns::writeIni(file, section, key, value);
    }
    std::vector<std::string> calls;

private:
    std::string m_outputFolder;
};

class SettingsStoreTest : public ::testing::Test
{
protected:
    TempTree tree;
    LocalApiFuns api;
    LocalGenFuns gen;
    mrb::platform::PosixFileSystem fs;
};

} // namespace

TEST_F(SettingsStoreTest, MissingFileGetsDefaultsAndOutputFolder)
{
    const std::string folder = tree.dir("prog");
    SettingsStore store(api, gen, fs, folder);
    store.ensureSettings();
    EXPECT_EQ(TempTree::read(folder + "/options.dll"), freshFile(folder));
    EXPECT_TRUE(isFolder(folder + "/output"));
    const auto &record = store.record();
    EXPECT_EQ(record.filePath(), folder + "/options.dll");
    EXPECT_EQ(record.value(Setting::CommonPath), "True");
    EXPECT_EQ(record.value(Setting::CommonUnit), "KB");
    EXPECT_EQ(record.value(Setting::CommonItem), "Files");
    EXPECT_EQ(record.value(Setting::OutputSeparator), "{Tab}");
    EXPECT_EQ(record.value(Setting::OutputPath), folder + "/output");
    EXPECT_EQ(record.value(Setting::SystemDialog), "False");
    EXPECT_TRUE(record.isOn(Setting::OutputStandard));
    EXPECT_FALSE(record.isOn(Setting::CommonSub));
}

TEST_F(SettingsStoreTest, LowerCaseTrueRewritesAllDefaultsAndKeepsForeignSections)
{
    const std::string folder = tree.dir("prog");
    tree.fileWith("prog/options.dll",
        "[Common]\r\n"
        "Path=true\r\n"
        "Unit=GB\r\n"
        "Extra=mine\r\n"
        "[Mine]\r\n"
        "Colour=blue ; not a comment\r\n"
        "\r\n"
        "[System]\r\n"
        "Dialog=True\r\n");
    SettingsStore store(api, gen, fs, folder);
    store.ensureSettings();
    EXPECT_EQ(TempTree::read(folder + "/options.dll"),
        "[Common]\r\n"
        "Path=True\r\n"
        "Unit=KB\r\n"
        "Extra=mine\r\n"
        "Size=True\r\n"
        "Precision=2\r\n"
        "Type=True\r\n"
        "Modified=True\r\n"
        "Created=True\r\n"
        "Accessed=True\r\n"
        "Sub=False\r\n"
        "Item=Files\r\n"
        "[Mine]\r\n"
        "Colour=blue ; not a comment\r\n"
        "\r\n"
        "[System]\r\n"
        "Dialog=False\r\n"
        "[Output]\r\n"
        "FileType=Playlist\r\n"
        "Separator={Tab}\r\n"
        "Repeat=0\r\n"
        "Standard=True\r\n"
        "Path="
            + folder
            + "/output\r\n"
              "Header=False\r\n"
              "Delete=False\r\n");
    EXPECT_EQ(store.record().value(Setting::CommonPath), "True");
    EXPECT_EQ(store.record().value(Setting::CommonUnit), "KB");
    EXPECT_EQ(store.record().value(Setting::SystemDialog), "False");
}

TEST_F(SettingsStoreTest, ValidPathAloneIsUsedUnchanged)
{
    const std::string folder = tree.dir("prog");
    const std::string content = "[Common]\r\nPath=False\r\n";
    tree.fileWith("prog/options.dll", content);
    SettingsStore store(api, gen, fs, folder);
    store.ensureSettings();
    EXPECT_EQ(TempTree::read(folder + "/options.dll"), content);
    EXPECT_FALSE(isFolder(folder + "/output"));
    EXPECT_EQ(store.record().value(Setting::CommonPath), "False");
    for (std::size_t i = 1; i < settingCount; ++i)
        EXPECT_EQ(store.record().value(static_cast<Setting>(i)), "") << "setting " << i;
}

TEST_F(SettingsStoreTest, ValuesStayTextExactlyAsRead)
{
    const std::string folder = tree.dir("prog");
    tree.fileWith("prog/options.dll",
        "[common]\n"
        "PATH=True\n"
        "Precision=7\n"
        "Unit=  MB  \n"
        "Sub=maybe\n"
        "[Output]\n"
        "Separator=\" | \"\n"
        "Path=/somewhere else\n");
    SettingsStore store(api, gen, fs, folder);
    store.ensureSettings();
    const auto &record = store.record();
    EXPECT_EQ(record.value(Setting::CommonPrecision), "7");
    EXPECT_EQ(record.value(Setting::CommonUnit), "MB");
    EXPECT_EQ(record.value(Setting::CommonSub), "maybe");
    EXPECT_FALSE(record.isOn(Setting::CommonSub));
    // Quotes kept the blank after the bar; the leading one goes, as ReadIni trims.
    EXPECT_EQ(record.value(Setting::OutputSeparator), "| ");
    EXPECT_EQ(record.value(Setting::OutputPath), "/somewhere else");
}

TEST_F(SettingsStoreTest, ReadsInTheFixedOrderAndWritesTheDefaultsInOneStep)
{
    const std::string folder = tree.dir("prog");
    RecordingApi recording(folder + "/output");
    SettingsStore store(recording, gen, fs, folder);
    store.ensureSettings();
    std::vector<std::string> reads;
    for (const auto &k : mrb::core::settingKeys)
        reads.push_back("read " + std::string(k.section) + "." + k.key);
    // The defaults go in one locked replacement of the file (no WriteIni per
    // key), with the bytes key-by-key writes give (see MissingFileGetsDefaultsAndOutputFolder).
    std::vector<std::string> expected = reads;
    expected.insert(expected.end(), reads.begin(), reads.end());
    EXPECT_EQ(recording.calls, expected);
}

TEST_F(SettingsStoreTest, WriteDefaultsDoesNotReload)
{
    const std::string folder = tree.dir("prog");
    SettingsStore store(api, gen, fs, folder);
    store.writeDefaultSettings();
    EXPECT_EQ(store.record().value(Setting::CommonPath), "");
    EXPECT_EQ(store.record().filePath(), folder + "/options.dll");
    store.loadSettings();
    EXPECT_EQ(store.record().value(Setting::CommonPath), "True");
}

TEST_F(SettingsStoreTest, OutputPathWrittenWhenItsFolderCannotBeMade)
{
    const std::string folder = tree.dir("prog");
    tree.fileWith("prog/output", "a file in the way");
    SettingsStore store(api, gen, fs, folder);
    store.ensureSettings();
    EXPECT_EQ(store.record().value(Setting::OutputPath), folder + "/output");
    EXPECT_EQ(TempTree::read(folder + "/output"), "a file in the way");
}

TEST_F(SettingsStoreTest, JunkFileIsRepairedAroundItsBytes)
{
    const std::string folder = tree.dir("prog");
    const std::string junk = std::string("\x00\xff\xfe garbage\x01", 13);
    tree.fileWith("prog/options.dll", junk);
    SettingsStore store(api, gen, fs, folder);
    store.ensureSettings();
    EXPECT_EQ(TempTree::read(folder + "/options.dll"), junk + "\r\n" + freshFile(folder));
    EXPECT_EQ(store.record().value(Setting::CommonPath), "True");
}

TEST_F(SettingsStoreTest, ExplicitFileAndFolderEndingInSlash)
{
    const std::string folder = tree.dir("prog");
    SettingsStore store(api, gen, fs, folder, folder + "/my.ini");
    store.ensureSettings();
    EXPECT_EQ(store.settingsFilePath(), folder + "/my.ini");
    EXPECT_EQ(TempTree::read(folder + "/my.ini"), freshFile(folder));
    EXPECT_FALSE(isFolder(folder + "/options.dll"));

    SettingsStore slash(api, gen, fs, folder + "/");
    EXPECT_EQ(slash.settingsFilePath(), folder + "/options.dll");
    EXPECT_EQ(slash.outputFolder(), folder + "/output");
}

// Empty values used to come out of every case below, and with them outputs in
// a wrong format reported as written successfully; a FIFO hung the start.
TEST_F(SettingsStoreTest, UnusableFileRunsOnDefaultsInMemoryAndSaysWhy)
{
    struct Case {
        const char *name;
        std::function<std::string()> make; // returns the program folder
        const char *reason;
    };
    const std::vector<Case> cases = {
        {"fifo",
            [&] {
                tree.fifo("fifo/options.dll");
                return tree.path("fifo");
            },
            "not a regular file"},
        {"folder",
            [&] {
                tree.dir("folder/options.dll");
                return tree.path("folder");
            },
            "Is a directory"},
        {"link loop",
            [&] {
                tree.symlink("loop/options.dll", tree.path("loop/options.dll"));
                return tree.path("loop");
            },
            "Too many levels of symbolic links"},
        {"huge",
            [&] {
                const std::string file = tree.fileWith("huge/options.dll", "[Common]\r\nPath=True\r\n");
                EXPECT_EQ(::truncate(file.c_str(), 65 << 20), 0);
                return tree.path("huge");
            },
            "larger than 64 MiB"},
        // Making the output folder must not bring the missing program folder into being.
        {"missing folder", [&] { return tree.path("not/there"); }, "No such file or directory"},
    };
    EXPECT_EXIT(
        {
            ::alarm(20); // a hang is a failure
            for (const Case &c : cases) {
                SCOPED_TRACE(c.name);
                const std::string folder = c.make();
                SettingsStore store(api, gen, fs, folder);
                store.ensureSettings();
                auto expected = mrb::core::recordOfDefaults();
                expected.setValue(Setting::OutputPath, folder + "/output");
                for (std::size_t i = 0; i < settingCount; ++i)
                    EXPECT_EQ(store.record().value(Setting(i)), expected.value(Setting(i)));
                EXPECT_NE(store.notice().find("'" + folder + "/options.dll'"), std::string::npos) << store.notice();
                EXPECT_NE(store.notice().find(c.reason), std::string::npos) << store.notice();
                // Restore Defaults then keeps them, and says nothing more.
                store.writeDefaultSettings();
                store.loadSettings();
                EXPECT_EQ(store.record().value(Setting::CommonUnit), "KB");
            }
            EXPECT_FALSE(isFolder(tree.path("not")));
            std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0),
        "");
}

TEST_F(SettingsStoreTest, UnwritableFolderRunsOnDefaultsInMemory)
{
    const std::string folder = tree.dir("prog");
    tree.chmod("prog", 0555);
    mrb::test::expectAsNobody(tree, [&] {
        SettingsStore store(api, gen, fs, folder);
        store.ensureSettings();
        EXPECT_EQ(store.record().value(Setting::CommonPath), "True");
        EXPECT_NE(store.notice().find("Permission denied"), std::string::npos) << store.notice();
        EXPECT_FALSE(isFolder(folder + "/output"));
    });
}

// A file that could be read but not rewritten used to be one that "can be
// neither read nor created".
TEST_F(SettingsStoreTest, NoticeSaysWhichStepFailed)
{
    tree.fileWith("read-only/options.dll", "[Common]\r\nPath=true\r\n");
    tree.dir("empty");
    const struct {
        const char *folder;
        const char *what;
    } cases[] = {
        {"read-only", "can be read but not rewritten (Permission denied)"},
        {"empty", "cannot be created (Permission denied)"},
    };
    for (const auto &c : cases)
        tree.chmod(c.folder, 0555);
    mrb::test::expectAsNobody(tree, [&] {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.folder);
            SettingsStore store(api, gen, fs, tree.path(c.folder));
            store.ensureSettings();
            EXPECT_EQ(store.notice(),
                "The settings file '" + tree.path(c.folder) + "/options.dll' " + c.what
                    + ". Marrowby runs on the default settings, and changes to them are not saved.");
        }
    });
}

// Programs started at the same moment used to see the defaults half-written
// and run with the other settings empty.
TEST_F(SettingsStoreTest, ConcurrentFirstRunsAllSeeEveryDefault)
{
    for (int round = 0; round < 15; ++round) {
        const std::string folder = tree.dir("race" + std::to_string(round));
        std::vector<pid_t> children;
        for (int p = 0; p < 3; ++p) {
            const pid_t child = ::fork();
            if (child == 0) {
                SettingsStore store(api, gen, fs, folder);
                store.ensureSettings();
                bool complete = store.notice().empty();
                for (std::size_t i = 0; i < settingCount; ++i)
                    complete = complete && !store.record().value(Setting(i)).empty();
                std::_Exit(complete ? 0 : 1);
            }
            children.push_back(child);
        }
        for (const pid_t child : children) {
            int status = -1;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        EXPECT_EQ(TempTree::read(folder + "/options.dll"), freshFile(folder));
    }
}

TEST(SettingNames, ExactSectionDotKey)
{
    EXPECT_EQ(settingByName("Common.Path"), Setting::CommonPath);
    EXPECT_EQ(settingByName("Output.Path"), Setting::OutputPath);
    EXPECT_EQ(settingByName("Output.FileType"), Setting::OutputFileType);
    EXPECT_EQ(settingByName("System.Dialog"), Setting::SystemDialog);
    for (const char *bad : {"common.path",
             "Common.Path ",
             "Common",
             "Path",
             "",
             ".",
             "Common.",
             "Common..Path",
             "System.Path",
             "CommonXPath",
             "Common.Paths"})
        EXPECT_FALSE(settingByName(bad).has_value()) << bad;
}

TEST(ProgramFolder, WritableExecutableFolderIsTheProgramFolder)
{
    TempTree tree;
    const std::string bin = tree.dir("bin");
    EXPECT_EQ(mrb::core::resolveProgramFolder(bin), bin);
}

TEST(ProgramFolder, AnInstalledCopyUsesTheConfigFolderThoughItCouldWriteBesideItself)
{
    TempTree tree;
    ScopedEnv xdg("XDG_CONFIG_HOME", tree.path("xdg"));
    const std::string bin = tree.dir("prefix/bin");
    EXPECT_EQ(mrb::core::resolveProgramFolder(bin), bin) << "no installed data: a copy like any other";
    tree.fileWith("prefix/share/applications/marrowby.desktop", "[Desktop Entry]\n");
    EXPECT_EQ(mrb::core::resolveProgramFolder(bin), tree.path("xdg/marrowby"));
}

TEST(ProgramFolder, OtherwiseTheUsersConfigFolder)
{
    TempTree tree;
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", tree.path("xdg"));
        const std::string folder = mrb::core::resolveProgramFolder(tree.path("missing-bin"));
        EXPECT_EQ(folder, tree.path("xdg/marrowby"));
        EXPECT_TRUE(isFolder(folder));
    }
    for (const char *unusable : {"", "relative/config"}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
        ScopedEnv home("HOME", tree.path("home"));
        const std::string folder = mrb::core::resolveProgramFolder("");
        EXPECT_EQ(folder, tree.path("home/.config/marrowby"));
        EXPECT_TRUE(isFolder(folder));
    }
}

TEST(ProgramFolder, ReadOnlyExecutableFolderFallsBack)
{
    TempTree tree;
    const std::string bin = tree.dir("bin");
    tree.chmod("bin", 0555);
    ScopedEnv xdg("XDG_CONFIG_HOME", tree.path("xdg"));
    mrb::test::expectAsNobody(
        tree, [&] { EXPECT_EQ(mrb::core::resolveProgramFolder(bin), tree.path("xdg/marrowby")); });
}
