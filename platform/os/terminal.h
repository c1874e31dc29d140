// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

namespace mrb::platform
{

// Whether standard error goes to a terminal, and how many columns wide it is
// (0 when it is no terminal or does not say).
struct TerminalInfo {
    bool isTerminal = false;
    int columns = 0;
};
TerminalInfo standardErrorTerminal();

} // namespace mrb::platform
