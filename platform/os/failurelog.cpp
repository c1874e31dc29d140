// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/failurelog.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace mrb::platform
{

bool failureLogEnabled()
{
    static const bool enabled = [] {
        const char *value = std::getenv("MRB_LOG");
        return value && *value && std::string_view(value) != "0";
    }();
    return enabled;
}

void logIgnoredFailure(std::string_view what, std::string_view detail)
{
    if (!failureLogEnabled())
        return;
    // one write per line, so lines of several threads do not mix
    const std::string line = "mrb: " + std::string(what) + ": " + std::string(detail) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void logIgnoredFailure(std::string_view what, const Problem &problem)
{
    if (failureLogEnabled())
        logIgnoredFailure(what, problem.path.empty() ? problem.reason : problem.path + ": " + problem.reason);
}

} // namespace mrb::platform
