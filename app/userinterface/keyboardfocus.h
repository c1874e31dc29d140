// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

namespace mrb::core
{

// Where the window should put the keyboard focus after a command.
enum class KeyboardFocus { Unchanged, SourceListing, DestinationListing };

} // namespace mrb::core
