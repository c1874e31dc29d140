// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

class QWidget;

namespace qfc
{

// Offers a choice of program for a file no application is associated with:
// the installed applications (those that declare the file's type first) or a
// program typed in. The chosen program is started with the file; cancelling
// does nothing. Needs widgetsAvailable().
void chooseApplicationFor(QWidget *owner, const std::string &path);

} // namespace qfc
