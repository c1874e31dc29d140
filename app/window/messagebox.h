// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>
#include <QSize>
#include <QString>

class QFontMetrics;
class QWidget;

namespace mrb::ui
{

// The program's message box, shared by the main window and the options
// dialog: captioned "Marrowby", one OK button, the text shown as plain text
// (a file name may look like markup), modal to owner. It always fits the
// screen: a line too wide is cut in its middle (the long part of a message is
// a path, whose start and end tell the most), and too many lines lose their
// middle ones. It is never so narrow that the window manager cuts the title
// short.
void showMessageBox(QWidget *owner, QMessageBox::Icon icon, const QString &text);

// text made to fit room: its middle lines replaced by one "…" when there are
// more than room's height holds, and each line that does not fit room's
// width in a few lines, wrapped at its blanks, cut in its middle with "…".
QString fittedText(const QString &text, const QFontMetrics &metrics, const QSize &room);

} // namespace mrb::ui
