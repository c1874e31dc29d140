// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

class QString;
class QWidget;

namespace qfc
{

// Whether dialogs can be shown: a QApplication exists in the process and this
// is its thread. Without one every dialog operation gives its empty result.
bool widgetsAvailable();

// The widget a native window id names (QWidget::winId as int32), or nullptr.
QWidget *widgetOf(std::int32_t handle);
// The window of that widget, to own a dialog; nullptr when there is none.
QWidget *ownerOf(std::int32_t handle);

enum class MessageKind { Information, Warning };

// A message box whose text is shown as typed: names and addresses may hold
// characters that Qt would otherwise take for markup.
void showPlainMessage(QWidget *owner, const QString &title, const QString &text, MessageKind kind);

// Paths keep their exact bytes on the way into Qt and back.
QString toQPath(const std::string &path);
std::string fromQPath(const QString &path);

} // namespace qfc
