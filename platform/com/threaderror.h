// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// Makes a failure's source and description the calling thread's error
// record, where the system keeps one (Windows: SetErrorInfo, which an
// early-bound caller reads with GetErrorInfo after a failed call). Our own
// runtime keeps none: its callers ask the object, and this does nothing.
void setThreadError(const std::string &source, const std::string &description);

} // namespace mrb::platform
