// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/stallablemount.h"

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace mrb::test
{

namespace
{

constexpr const char *kServer = "/usr/lib/openssh/sftp-server";

// Runs argv with its standard input and output on fd; -1 when it cannot.
pid_t spawnOn(int fd, std::vector<std::string> args)
{
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, fd, 0);
    posix_spawn_file_actions_adddup2(&files, fd, 1);
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

void end(pid_t &pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGCONT);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

bool isMountedOn(const std::string &mountPoint)
{
    struct stat point {
    };
    struct stat parent {
    };
    return ::stat(mountPoint.c_str(), &point) == 0 && ::stat((mountPoint + "/..").c_str(), &parent) == 0
        && point.st_dev != parent.st_dev;
}

} // namespace

StallableMount::StallableMount(const std::string &served, const std::string &mountPoint)
    : m_mountPoint(mountPoint)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0 || ::access(kServer, X_OK) != 0) {
        m_why = "no /dev/fuse or no sftp-server";
        return;
    }
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        m_why = "no socket pair";
        return;
    }
    m_server = spawnOn(ends[0], {kServer});
    // passive: the protocol on standard input and output, no ssh in between
    m_client = spawnOn(ends[1], {"sshfs", "-f", "-o", "passive", ":" + served, mountPoint});
    ::close(ends[0]);
    ::close(ends[1]);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (m_client > 0 && !isMountedOn(mountPoint) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (m_server <= 0 || m_client <= 0 || !isMountedOn(mountPoint))
        m_why = "sshfs did not mount " + served;
}

StallableMount::~StallableMount()
{
    resume();
    if (isMountedOn(m_mountPoint)) {
        // lazily: a reader that was left waiting may still hold a folder open
        const pid_t unmount = spawnOn(2, {"fusermount3", "-u", "-z", m_mountPoint});
        if (unmount > 0)
            ::waitpid(unmount, nullptr, 0);
    }
    end(m_client);
    end(m_server);
}

void StallableMount::stall() const
{
    if (m_server > 0)
        ::kill(m_server, SIGSTOP);
}

void StallableMount::resume() const
{
    if (m_server > 0)
        ::kill(m_server, SIGCONT);
}

} // namespace mrb::test
