// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/shellcommand.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace mrb::test
{

std::string runCommand(const std::string &command, int *status)
{
    std::string output;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        if (status)
            *status = -1;
        return output;
    }
    std::array<char, 4096> buffer;
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int raw = ::pclose(pipe);
    if (status)
        *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

bool haveProgram(const std::string &path)
{
    return ::access(path.c_str(), X_OK) == 0;
}

std::string shellQuoted(const std::string &text)
{
    std::string q = "'";
    for (char c : text) {
        if (c == '\'')
            q += "'\\''";
        else
            q.push_back(c);
    }
    return q + "'";
}

} // namespace mrb::test
