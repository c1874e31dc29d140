// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/childprogram.h"

#include "tests/support/temptree.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char **environ;

namespace mrb::test
{

namespace
{

constexpr auto patience = std::chrono::minutes(1);

} // namespace

ChildProgram::ChildProgram(const std::string &program, const std::vector<std::string> &args, const std::string &scratch)
{
    static int count = 0;
    const std::string stem = scratch + "/." + program + "-" + std::to_string(++count);
    m_out = stem + ".out";
    m_err = stem + ".err";
    const char *bin = std::getenv("MRB_BIN_DIR");
    const std::string path = std::string(bin ? bin : ".") + "/" + program;
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char *> argv {const_cast<char *>(path.c_str())};
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, path.c_str(), &files, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&files);
}

ChildProgram::~ChildProgram()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

void ChildProgram::signal(int number) const
{
    if (m_pid > 0)
        ::kill(m_pid, number);
}

int ChildProgram::wait()
{
    if (m_pid <= 0)
        return -1;
    const auto until = std::chrono::steady_clock::now() + patience;
    int status = 0;
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ChildProgram::out() const
{
    return TempTree::read(m_out);
}

std::string ChildProgram::err() const
{
    return TempTree::read(m_err);
}

bool ChildProgram::waitForErr(const std::string &text) const
{
    const auto until = std::chrono::steady_clock::now() + patience;
    while (err().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace mrb::test
