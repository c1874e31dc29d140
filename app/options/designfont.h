// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace mrb::ui
{

// The small sans face the fixed-size parts of the forms are measured for:
// Tahoma 8.25 pt where it is installed, else the installed face nearest to it
// in width.
QFont designFont();

} // namespace mrb::ui
