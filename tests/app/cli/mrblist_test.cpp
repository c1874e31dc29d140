// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/interrupts.h"
#include "app/cli/mrblist.h"
#include "app/settings/settings.h"
#include "platform/com/runtime.h"
#include "platform/fs/safefile.h"
#include "tests/support/fiforeader.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/temptree.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using mrb::cli::RunEnvironment;
using mrb::cli::runMrbList;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

namespace
{

// The 18 lines printed for the defaults of a program in folder.
std::string defaultLines(const std::string &folder)
{
    return "Common.Path=True\n"
           "Common.Size=True\n"
           "Common.Unit=KB\n"
           "Common.Precision=2\n"
           "Common.Type=True\n"
           "Common.Modified=True\n"
           "Common.Created=True\n"
           "Common.Accessed=True\n"
           "Common.Sub=False\n"
           "Common.Item=Files\n"
           "Output.FileType=Playlist\n"
           "Output.Separator={Tab}\n"
           "Output.Repeat=0\n"
           "Output.Standard=True\n"
           "Output.Path="
        + folder
        + "/output\n"
          "Output.Header=False\n"
          "Output.Delete=False\n"
          "System.Dialog=False\n";
}

std::string defaultFile(const std::string &folder)
{
    return "[Common]\r\nPath=True\r\nSize=True\r\nUnit=KB\r\nPrecision=2\r\nType=True\r\nModified=True\r\n"
           "Created=True\r\nAccessed=True\r\nSub=False\r\nItem=Files\r\n"
           "[Output]\r\nFileType=Playlist\r\nSeparator={Tab}\r\nRepeat=0\r\nStandard=True\r\nPath="
        + folder + "/output\r\nHeader=False\r\nDelete=False\r\n[System]\r\nDialog=False\r\n";
}

bool isFolder(const std::string &path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with the given arguments, in folder cwd, capturing both streams.
ProgramRun runProgram(const std::string &program, const std::vector<std::string> &args, const std::string &scratch)
{
    const std::string outFile = scratch + "/.stdout";
    const std::string errFile = scratch + "/.stderr";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(127);
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(program.c_str()));
        for (const auto &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        ::alarm(60); // kept across exec: a program that hangs fails instead of stalling the run
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramRun run;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = TempTree::read(outFile);
    run.err = TempTree::read(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return run;
}

// MRB_BIN_DIR when the test runner sets it; otherwise the test's own folder,
// where the build puts every executable.
std::string binFolder()
{
    if (const char *bin = std::getenv("MRB_BIN_DIR"); bin && *bin)
        return bin;
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
}

class MrbListBinary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program = binFolder() + "/mrb-list";
        if (::access(program.c_str(), X_OK) != 0)
            GTEST_SKIP() << program << " is not built";
    }
    ProgramRun run(const std::vector<std::string> &args) { return runProgram(program, args, scratch.root()); }

    std::string program;
    TempTree tree;
    TempTree scratch;
};

} // namespace

TEST_F(MrbListBinary, MissingFileIsCreatedWithDefaultsAndPrinted)
{
    const std::string dir = tree.root();
    const ProgramRun r = run({"--settings", dir + "/options.dll", "--print-settings"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, defaultLines(dir));
    EXPECT_EQ(TempTree::read(dir + "/options.dll"), defaultFile(dir));
    EXPECT_TRUE(isFolder(dir + "/output"));
}

TEST_F(MrbListBinary, LowerCasePathRewritesDefaultsAndKeepsOwnSection)
{
    const std::string dir = tree.root();
    tree.fileWith("options.dll", "[Common]\r\nPath=true\r\nUnit=MB\r\n[Mine]\r\nKeep=this ; and this\r\n");
    const ProgramRun r = run({"--settings", dir + "/options.dll", "--print-settings"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, defaultLines(dir));
    const std::string file = TempTree::read(dir + "/options.dll");
    EXPECT_EQ(file,
        "[Common]\r\nPath=True\r\nUnit=KB\r\nSize=True\r\nPrecision=2\r\nType=True\r\nModified=True\r\n"
        "Created=True\r\nAccessed=True\r\nSub=False\r\nItem=Files\r\n"
        "[Mine]\r\nKeep=this ; and this\r\n"
        "[Output]\r\nFileType=Playlist\r\nSeparator={Tab}\r\nRepeat=0\r\nStandard=True\r\nPath="
            + dir + "/output\r\nHeader=False\r\nDelete=False\r\n[System]\r\nDialog=False\r\n");
}

TEST_F(MrbListBinary, ValidPathAloneIsLeftAloneAndMissingKeysPrintEmpty)
{
    const std::string dir = tree.root();
    tree.fileWith("options.dll", "[Common]\r\nPath=False\r\n");
    const ProgramRun r = run({"--settings", dir + "/options.dll", "--print-settings"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
        "Common.Path=False\nCommon.Size=\nCommon.Unit=\nCommon.Precision=\nCommon.Type=\nCommon.Modified=\n"
        "Common.Created=\nCommon.Accessed=\nCommon.Sub=\nCommon.Item=\nOutput.FileType=\nOutput.Separator=\n"
        "Output.Repeat=\nOutput.Standard=\nOutput.Path=\nOutput.Header=\nOutput.Delete=\nSystem.Dialog=\n");
    EXPECT_EQ(TempTree::read(dir + "/options.dll"), "[Common]\r\nPath=False\r\n");
    EXPECT_FALSE(isFolder(dir + "/output"));
}

// A FIFO in place of the settings file used to hang mrb-list in open.
TEST_F(MrbListBinary, UnreadableSettingsRunOnDefaultsAndSaySoOnce)
{
    const std::string dir = tree.root();
    tree.fifo("options.dll");
    const ProgramRun r = run({"--settings", dir + "/options.dll", "--print-settings"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, defaultLines(dir));
    EXPECT_EQ(r.err,
        "mrb-list: The settings file '" + dir
            + "/options.dll' cannot be read (not a regular file). Marrowby runs on the default settings, and "
              "changes to them are not saved.\n");
}

TEST_F(MrbListBinary, UsageErrorExitsTwoAndTouchesNothing)
{
    const std::string dir = tree.root();
    const ProgramRun r = run({"--settings", dir + "/options.dll", "--set", "Common.Colour=red", "--print-settings"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "mrb-list: unknown setting 'Common.Colour'\nTry 'mrb-list --help' for more information.\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "/options.dll"));
    EXPECT_EQ(run({}).exitCode, 2);
}

TEST_F(MrbListBinary, WithoutSettingsUsesTheExecutablesFolder)
{
    const std::string dir = tree.dir("installed");
    const std::string copy = dir + "/mrb-list";
    std::filesystem::copy_file(program, copy);
    ::chmod(copy.c_str(), 0755);
    const ProgramRun r = runProgram(copy, {"--print-settings"}, scratch.root());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, defaultLines(dir));
    EXPECT_EQ(TempTree::read(dir + "/options.dll"), defaultFile(dir));
}

TEST(MrbListRun, OverridesHoldForThisRunOnly)
{
    TempTree tree;
    const std::string dir = tree.root();
    tree.fileWith("options.dll", "[Common]\r\nPath=True\r\nUnit=KB\r\n");
    std::ostringstream out, err;
    const int rc = runMrbList({"--settings",
                                  dir + "/options.dll",
                                  "--set",
                                  "Common.Unit=GB",
                                  "--set",
                                  "Output.Separator= | ",
                                  "--set",
                                  "Common.Unit=MB",
                                  "--print-settings"},
        RunEnvironment {},
        out,
        err);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(out.str().find("\nCommon.Unit=MB\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\nOutput.Separator= | \n"), std::string::npos) << out.str();
    EXPECT_EQ(TempTree::read(dir + "/options.dll"), "[Common]\r\nPath=True\r\nUnit=KB\r\n");
}

TEST(MrbListRun, RelativeSettingsFileIsTakenFromTheWorkingFolder)
{
    TempTree tree;
    RunEnvironment env;
    env.workingFolder = tree.root();
    std::ostringstream out, err;
    EXPECT_EQ(runMrbList({"--settings", "sub/my.ini", "--print-settings"}, env, out, err), 0);
    // The settings file has no folder yet: nothing is written, and the run
    // goes on the defaults in memory and says so.
    EXPECT_EQ(out.str(), defaultLines(tree.path("sub")));
    EXPECT_NE(err.str().find("No such file or directory"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(tree.path("sub")));

    tree.dir("sub");
    std::ostringstream again, errAgain;
    EXPECT_EQ(runMrbList({"--settings", "sub/my.ini", "--print-settings"}, env, again, errAgain), 0);
    EXPECT_EQ(again.str(), defaultLines(tree.path("sub")));
    EXPECT_EQ(TempTree::read(tree.path("sub/my.ini")), defaultFile(tree.path("sub")));
}

TEST(MrbListRun, BareFileNameWithoutWorkingFolderStaysRelative)
{
    TempTree tree;
    const std::string previous = std::filesystem::current_path().string();
    std::filesystem::current_path(tree.root());
    std::ostringstream out, err;
    const int rc = runMrbList({"--settings", "my.ini", "--print-settings"}, RunEnvironment {}, out, err);
    std::filesystem::current_path(previous);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out.str(), defaultLines("."));
    EXPECT_EQ(TempTree::read(tree.path("my.ini")), defaultFile("."));
    EXPECT_TRUE(isFolder(tree.path("output")));
}

TEST(MrbListRun, UnusableExecutableFolderFallsBackToTheConfigFolder)
{
    TempTree tree;
    ScopedEnv xdg("XDG_CONFIG_HOME", tree.path("config"));
    RunEnvironment env;
    env.executableFolder = tree.path("no/such/bin");
    std::ostringstream out, err;
    EXPECT_EQ(runMrbList({"--print-settings"}, env, out, err), 0);
    EXPECT_EQ(out.str(), defaultLines(tree.path("config/marrowby")));
    EXPECT_TRUE(isFolder(tree.path("config/marrowby/output")));
}

TEST(MrbListRun, HelpNamesEveryModeOptionSettingAndExitCode)
{
    std::ostringstream out, err;
    EXPECT_EQ(runMrbList({"--help"}, RunEnvironment {}, out, err), 0);
    EXPECT_EQ(err.str(), "");
    const std::string help = out.str();
    EXPECT_EQ(help.rfind("Usage: mrb-list", 0), 0u);
    std::vector<std::string> terms = {"\n  -o OUTPUT PATH...",
        "\n  --show FOLDER",
        "\n  --print-settings",
        "\n  --settings FILE",
        "\n  --set Section.Key=Value",
        "\n  --filter PATTERN",
        "\n  --hidden",
        "\n  --system",
        "\n  -h, --help",
        "\n  --version",
        "\n  --format FORMAT",
        "\n  --relative-to DIR",
        "\n  --tags",
        "\n  --no-tags",
        "\n  --all-files",
        "\n  --per-folder",
        "\n  --beside",
        "\nFormats (--format):\n  csv",
        "\n  jsonl",
        "\n  catalog",
        "\n  m3u8",
        "\n  130 ",
        "\nExit status:\n  0",
        "\n  1 ",
        "\n  2 ",
        "\n  Common.Unit=Bytes|KB|MB|GB",
        "\n  Common.Item=Files|Folders|FF",
        "\n  Output.FileType=Playlist|PBR|Customize"};
    for (const auto &key : mrb::core::settingKeys)
        terms.push_back(std::string("\n  ") + key.section + "." + key.key + "=");
    for (const std::string &term : terms)
        EXPECT_NE(help.find(term), std::string::npos) << term;
    // every line fits a terminal of 80 columns
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 79u) << line;
}

TEST(MrbListRun, VersionNamesTheComponentLibraryInUse)
{
    TempTree tree;
    ScopedEnv registry("QFC_REGISTRY_DIR", tree.path("registry"));
    std::ostringstream before, after, err;
    EXPECT_EQ(runMrbList({"--version"}, RunEnvironment {}, before, err), 0);
    EXPECT_EQ(before.str().rfind("mrb-list (Marrowby) " MRB_VERSION "\nComponent library: none;", 0), 0u)
        << before.str();
    EXPECT_NE(before.str().find("is not registered"), std::string::npos) << before.str();

    const std::string library = std::string(std::getenv("MRB_BIN_DIR")) + "/libQFC_MRB.so";
    ASSERT_EQ(mrb::platform::registerLibrary(library), S_OK);
    EXPECT_EQ(runMrbList({"--version"}, RunEnvironment {}, after, err), 0);
    EXPECT_EQ(after.str(),
        "mrb-list (Marrowby) " MRB_VERSION "\nComponent library: " + library + " (registered in "
            + tree.path("registry") + ")\n");
}

// Output targets that used to be replaced by a plain file or refused.

TEST_F(MrbListBinary, OutputReachesTheReaderOfAFifoDirectlyOrThroughALink)
{
    // The link stands in for /dev/stdout, which leads to a pipe: it used to be
    // replaced by a regular file while success was printed.
    const std::string item = tree.file("data/a.txt", 3);
    for (const bool throughLink : {false, true}) {
        SCOPED_TRACE(throughLink ? "link to a FIFO" : "FIFO");
        const std::string fifo = tree.path(throughLink ? "pipe2" : "pipe1");
        mrb::test::FifoReader reader(fifo);
        const std::string target = throughLink ? tree.symlink("stdout", fifo) : fifo;
        const ProgramRun r = run({"--settings", tree.path("options.dll"), "-o", target, item});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "Outputted 1 items to '" + target + "' successfully!\n");
        EXPECT_EQ(reader.bytes(), item + "\r\n");
        struct stat st {
        };
        EXPECT_TRUE(::lstat(fifo.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
        EXPECT_TRUE(::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode) == throughLink);
    }
}

TEST_F(MrbListBinary, WritableFilesInAFolderTheUserCannotWriteToAreWrittenInPlace)
{
    // The output used to be refused ("Permission denied") and the settings
    // file never written.
    const std::string item = tree.file("data/a.txt", 3);
    const std::string output = tree.fileWith("ro/list.txt", "previous");
    const std::string settings = tree.fileWith("ro/options.dll", "");
    tree.chmod("ro/list.txt", 0666);
    tree.chmod("ro/options.dll", 0666);
    tree.chmod("ro", 0555);
    ::chmod(scratch.root().c_str(), 0777);
    const auto asNobody = [&](std::vector<std::string> args) {
        args.insert(args.begin(), program);
        const std::vector<std::string> command = mrb::test::asNobody(tree, args);
        return runProgram(command[0], std::vector<std::string>(command.begin() + 1, command.end()), scratch.root());
    };
    const ProgramRun printed = asNobody({"--settings", settings, "--print-settings"});
    EXPECT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_EQ(printed.out, defaultLines(tree.path("ro")));
    EXPECT_EQ(TempTree::read(settings), defaultFile(tree.path("ro")));

    const ProgramRun made = asNobody({"--settings", settings, "-o", output, item});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(TempTree::read(output), item + "\r\n");
}

TEST_F(MrbListBinary, WorkbookFailuresGiveAPlainReasonAndNothingElseOnStderr)
{
    // They used to print the spreadsheet library's own log lines and end in
    // ".!" ("... ZIP_ERRNO while creating the xlsx file.!"); a part of the
    // workbook cut short by a file-size limit was even reported as written.
    for (int i = 0; i < 400; ++i)
        tree.file("data/a file with a longer name " + std::to_string(i) + ".txt");
    const std::string temporary = tree.dir("temporary");
    const std::string locked = tree.dir("locked");
    tree.chmod("locked", 0555);
    const std::string device = tree.path("full.xls");
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 7)), 0); // always full
    struct Case {
        const char *name;
        std::string target;
        std::string tmpdir;
        rlim_t fileSizeLimit; // 0: none
        bool asNobody;
        std::string reason;
    };
    const std::string existing = tree.fileWith("book.xls", "previous");
    const Case cases[] = {
        {"target on a full device",
            device,
            temporary,
            0,
            false,
            "No space left on device (the file may be incomplete)"},
        {"workbook cut by a file-size limit",
            existing,
            temporary,
            8 * 1024,
            false,
            "File too large (temporary folder " + temporary + ")"},
        {"part cut short while the packed workbook fits",
            existing,
            temporary,
            64 * 1024,
            false,
            "File too large (temporary folder " + temporary + ")"},
        {"temporary folder the user cannot write to",
            tree.path("new.xls"),
            locked,
            0,
            true,
            "Permission denied (temporary folder " + locked + ")"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedEnv tmpdir("TMPDIR", c.tmpdir);
        std::vector<std::string> args = {program,
            "--settings",
            scratch.path("options.dll"),
            "--set",
            "Common.Sub=True",
            "--set",
            "Output.FileType=Customize",
            "--set",
            "Output.Standard=False",
            "-o",
            c.target,
            tree.path("data")};
        if (c.asNobody) {
            ::chmod(scratch.root().c_str(), 0777);
            args = mrb::test::asNobody(tree, args);
        }
        std::optional<mrb::test::FileSizeLimit> limit;
        if (c.fileSizeLimit)
            limit.emplace(c.fileSizeLimit);
        const ProgramRun r =
            runProgram(args[0], std::vector<std::string>(args.begin() + 1, args.end()), scratch.root());
        limit.reset();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "mrb-list: Cannot output to '" + c.target + "': " + c.reason + "!\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(TempTree::read(existing), "previous");
        EXPECT_FALSE(std::filesystem::exists(tree.path("new.xls")));
    }
}

TEST(MrbListRun, InterruptsRemoveTheTemporaryFileOrOnlyStopTheAdd)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        TempTree tree;
        const std::string path = tree.fileWith("out.txt", "old");
        EXPECT_EXIT(
            {
                mrb::cli::installInterruptHandler();
                mrb::platform::SafeFile file(path);
                file.write("half");
                std::raise(signal);
            },
            ::testing::KilledBySignal(signal),
            "")
            << strsignal(signal);
        EXPECT_EQ(TempTree::read(path), "old");
        EXPECT_EQ(mrb::test::namesIn(tree.root()), std::vector<std::string> {"out.txt"});
    }
    // during an add the first SIGINT only asks for a stop
    EXPECT_EXIT(
        {
            mrb::cli::installInterruptHandler();
            const mrb::cli::StopOnInterrupt stop;
            std::raise(SIGINT);
            std::exit(stop.requested() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "stopping the add");
}
