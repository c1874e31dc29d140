// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// Why something done to a file or folder failed, the one shape every part of
// the platform reports in: the path as the caller named it, the reason in
// words, and the system's error number when the system gave one (errno; 0 for
// a failure it did not report, such as a file too large for a format), so
// the library can map it to error numbers of its own.
struct Problem {
    std::string path;
    std::string reason;
    int errorNumber = 0;

    bool operator==(const Problem &) const = default;
};

// The problem the system reported with errorNumber, worded as the system words it.
Problem systemProblem(std::string path, int errorNumber);

// The system's wording of an error number ("No space left on device").
std::string errorText(int errorNumber);

} // namespace mrb::platform
