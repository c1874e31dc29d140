// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

class QWidget;

namespace qfc
{

// Opens a window that describes a file or folder (name, type, location, size,
// dates, permissions) and stays open after the call; nothing for a path that
// does not exist. Needs widgetsAvailable(). Returns the window, or nullptr.
QWidget *showProperties(QWidget *owner, const std::string &path);

} // namespace qfc
