// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/isolation.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace mrb::test
{

namespace
{

uid_t nobodyUid()
{
    const passwd *pw = ::getpwnam("nobody");
    return pw ? pw->pw_uid : 65534u;
}

gid_t nogroupGid()
{
    const group *gr = ::getgrnam("nogroup");
    return gr ? gr->gr_gid : 65534u;
}

// Starts body in a child process as user; the child ends with body's result.
// before runs in the child first (after the change of user).
pid_t startChild(const std::function<int()> &body, RunAs user, const std::function<void()> &before = {})
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (user == RunAs::Nobody && ::geteuid() == 0
        && (::setgroups(0, nullptr) != 0 || ::setgid(nogroupGid()) != 0 || ::setuid(nobodyUid()) != 0))
        ::_exit(125);
    if (before)
        before();
    const int result = body();
    std::fflush(nullptr);
    ::_exit(result);
}

// How the child ended (see runInChild); killed when still running at deadline.
int waitForChild(pid_t pid, std::chrono::steady_clock::time_point deadline)
{
    if (pid < 0)
        return childCouldNotStart;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return childTimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace

int runInChild(const std::function<int()> &body, std::chrono::milliseconds limit, RunAs user)
{
    return waitForChild(startChild(body, user), std::chrono::steady_clock::now() + limit);
}

bool runTogether(const std::vector<std::function<int()>> &bodies, std::chrono::milliseconds limit, RunAs user)
{
    int gate[2];
    if (::pipe(gate) != 0)
        return false;
    // Each child waits for the end of the gate: its read returns once the
    // parent has closed its end after starting every child.
    const auto waitAtGate = [&gate] {
        ::close(gate[1]);
        char none;
        while (::read(gate[0], &none, 1) < 0 && errno == EINTR) { }
    };
    std::vector<pid_t> children;
    for (const auto &body : bodies)
        children.push_back(startChild(body, user, waitAtGate));
    ::close(gate[0]);
    ::close(gate[1]);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool allPassed = true;
    for (const pid_t pid : children)
        allPassed = waitForChild(pid, deadline) == 0 && allPassed;
    return allPassed;
}

bool mountScratchFileSystem(const std::string &folder, std::uint64_t bytes, bool readOnly)
{
    const std::string size = "size=" + std::to_string(bytes);
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && ::mount("tmpfs", folder.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, size.c_str()) == 0;
}

void handToNobody(const std::string &folder, const std::string &treeRoot)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    ::lchown(folder.c_str(), nobodyUid(), nogroupGid());
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        ::lchown(it->path().c_str(), nobodyUid(), nogroupGid());
    for (fs::path p = fs::path(folder).parent_path(); !p.empty(); p = p.parent_path()) {
        struct stat st {
        };
        if (::stat(p.c_str(), &st) == 0)
            ::chmod(p.c_str(), (st.st_mode & 07777) | 0711);
        if (p == fs::path(treeRoot) || p == p.root_path())
            break;
    }
}

} // namespace mrb::test
