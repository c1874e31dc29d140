// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>

class QString;
class QWidget;

namespace mrb::ui
{

// Shows one of the program's message boxes and waits for its OK: the title
// "Marrowby", the text as plain text (a path may hold "<" or "&"), and a box
// never so narrow that the window manager cuts the title short.
void showMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text);

} // namespace mrb::ui
