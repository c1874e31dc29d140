// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/isolation.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
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

} // namespace

int runInChild(const std::function<int()> &body, std::chrono::milliseconds limit, RunAs user)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return childCouldNotStart;
    if (pid == 0) {
        if (user == RunAs::Nobody && ::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(nogroupGid()) != 0 || ::setuid(nobodyUid()) != 0))
            ::_exit(125);
        const int result = body();
        std::fflush(nullptr);
        ::_exit(result);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
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
