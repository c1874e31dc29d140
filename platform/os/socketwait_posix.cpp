// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/socketwait.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>

namespace mrb::platform
{

bool waitForSocket(int socket, SocketWait until, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd wanted {socket, static_cast<short>(until == SocketWait::Readable ? POLLIN : POLLOUT), 0};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int ready = ::poll(&wanted, 1, static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX)));
        if (ready >= 0)
            return ready > 0; // an error or a hang-up counts as ready: the next read or write tells
        if (errno != EINTR)
            return false;
    }
}

} // namespace mrb::platform
