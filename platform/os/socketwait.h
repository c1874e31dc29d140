// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

namespace mrb::platform
{

enum class SocketWait { Readable, Writable };

// Waits until the socket can be read from or written to, at most timeout.
// False when the time ran out first (or the socket cannot be waited on).
bool waitForSocket(int socket, SocketWait until, std::chrono::milliseconds timeout);

} // namespace mrb::platform
