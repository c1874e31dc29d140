// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace mrb::bench
{

// Wall-clock and processor seconds (user + system) of one measurement. On a
// busy machine the processor time is the steadier figure.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

inline double cpuSeconds(int who)
{
    rusage usage {};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Time taken by f() in this process.
template <typename F> Timing timed(F &&f)
{
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    const auto start = std::chrono::steady_clock::now();
    f();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return Timing {wall, cpuSeconds(RUSAGE_SELF) - cpuBefore};
}

// Time taken by a shell command and its children.
inline Timing timedCommand(const std::string &command)
{
    int status = 0;
    const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    status = std::system(command.c_str());
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0)
        std::fprintf(stderr, "warning: '%s' exited with %d\n", command.c_str(), status);
    return Timing {wall, cpuSeconds(RUSAGE_CHILDREN) - cpuBefore};
}

// One run of a program as a child process: its own times and peak memory,
// measured alone (wait4), not with the other children.
struct ChildRun {
    Timing timing;
    double user = 0; // user seconds alone: our own code, without the kernel's
    long peakKiB = 0;
    int status = -1; // exit code, or 128 + the signal that ended it

    double peakMiB() const { return static_cast<double>(peakKiB) / 1024.0; }
};

// Where a child's output goes: its standard output into a file that is
// replaced (standard error left as it is), or both appended to a log.
enum class ChildOutput { replaceStdout, appendBothToLog };

// Runs argv (argv[0] looked up on PATH).
inline ChildRun runChild(const std::vector<std::string> &argv,
    const std::string &outputPath,
    ChildOutput output = ChildOutput::replaceStdout)
{
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool append = output == ChildOutput::appendBothToLog;
        const int fd = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0644);
        if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0 || (append && ::dup2(fd, STDERR_FILENO) < 0))
            ::_exit(126);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    if (pid < 0)
        throw std::runtime_error("cannot start " + argv[0]);
    int status = 0;
    rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.user = static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) / 1e6;
    run.timing.cpu =
        run.user + static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
    run.peakKiB = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (run.status != 0)
        std::fprintf(
            stderr, "warning: %s exited with %d (output in %s)\n", argv[0].c_str(), run.status, outputPath.c_str());
    return run;
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Medians of several runs, wall and processor time apart.
inline Timing medianOf(const std::vector<Timing> &runs)
{
    std::vector<double> wall, cpu;
    for (const Timing &t : runs) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    return Timing {median(wall), median(cpu)};
}

// The folder this program was started from (where mrb-list is built too).
inline std::string programFolder()
{
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/'));
}

// mrb-list's settings for a deep add of files and folders written as the
// field table, every field on, kept in settingsFile (made when missing).
inline std::vector<std::string> fieldTableSettings(const std::string &settingsFile)
{
    return {"--settings",
        settingsFile,
        "--set",
        "Common.Sub=True",
        "--set",
        "Common.Item=FF",
        "--set",
        "Output.FileType=Customize",
        "--set",
        "Output.Standard=False"};
}

// The machine's zone and a locale with its own date and number formats, for
// mrb-list and the reference commands alike.
inline void useBenchLocale()
{
    ::setenv("LANG", "en_US.UTF-8", 1);
    ::unsetenv("LC_ALL");
    ::setenv("TZ", ":/etc/localtime", 1);
}

// The measured ratio against its goal: "ok", or "SHORT" when it is missed.
inline const char *verdict(bool met)
{
    return met ? "ok" : "SHORT";
}

// "1.234 s (cpu 0.987 s)"
inline std::string describe(const Timing &timing)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f s (cpu %.3f s)", timing.wall, timing.cpu);
    return text;
}

// Peak resident memory of this process so far, in MiB.
inline double peakMemoryMiB()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // Linux reports KiB
}

// A scratch folder under $TMPDIR (or /tmp), removed when the object goes.
class ScratchFolder
{
public:
    explicit ScratchFolder(const char *tag)
    {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/mrb-bench-" + tag + "-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a scratch folder");
        m_path = pattern;
    }
    ~ScratchFolder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace mrb::bench
