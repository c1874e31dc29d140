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

namespace mrb::bench {

// Seconds taken by f().
template<typename F>
double timed(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds taken by a shell command (its output is the command's business).
inline double timedCommand(const std::string &command)
{
    int status = 0;
    const double seconds = timed([&] { status = std::system(command.c_str()); });
    if (status != 0)
        std::fprintf(stderr, "warning: '%s' exited with %d\n", command.c_str(), status);
    return seconds;
}

// Peak resident memory of this process so far, in MiB.
inline double peakMemoryMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // Linux reports KiB
}

// A scratch folder under $TMPDIR (or /tmp), removed when the object goes.
class ScratchFolder {
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
