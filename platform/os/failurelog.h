// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/problem.h"

#include <string_view>

namespace mrb::platform
{

// The trace of failures that are ignored on purpose (a step whose failure
// the user is not told of, as the behaviour asks), so they can be found when
// something seems wrong. Off unless the environment variable MRB_LOG is set
// to anything but "" or "0"; then each goes to standard error as one line
// "mrb: WHAT: PATH: REASON".

bool failureLogEnabled();

// what: the step that failed, in a few words ("making the settings folder").
void logIgnoredFailure(std::string_view what, const Problem &problem);
void logIgnoredFailure(std::string_view what, std::string_view detail);

} // namespace mrb::platform
