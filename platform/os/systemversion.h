// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

namespace mrb::platform
{

// The major version of the running system's kernel ("6" of "6.1.0-18-amd64");
// 0 when it cannot be told.
int systemMajorVersion();

} // namespace mrb::platform
