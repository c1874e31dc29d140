// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

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
