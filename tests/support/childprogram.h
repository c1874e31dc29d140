// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace mrb::test
{

// A built program run as a process of its own, beside the test, its output
// and error streams kept in files of a scratch folder.
class ChildProgram
{
public:
    // Starts MRB_BIN_DIR/program with args; started() says whether it could.
    ChildProgram(const std::string &program, const std::vector<std::string> &args, const std::string &scratch);
    ~ChildProgram(); // kills a child still running
    ChildProgram(const ChildProgram &) = delete;
    ChildProgram &operator=(const ChildProgram &) = delete;

    bool started() const { return m_pid > 0; }
    void signal(int number) const;
    // Waits (at most a minute, then kills it): the exit code, or 128 + the signal that ended it.
    int wait();
    // What it wrote so far.
    std::string out() const;
    std::string err() const;
    // Waits until its error stream holds text (false after a minute).
    bool waitForErr(const std::string &text) const;

private:
    pid_t m_pid = -1;
    std::string m_out;
    std::string m_err;
};

} // namespace mrb::test
