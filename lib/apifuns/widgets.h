// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

class QString;
class QWidget;

namespace qfc {

// Whether dialogs can be shown: a QApplication exists in the process and this
// is its thread. Without one every dialog operation gives its empty result.
bool widgetsAvailable();

// The widget a native window id names (QWidget::winId as int32), or nullptr.
QWidget *widgetOf(std::int32_t handle);
// The window of that widget, to own a dialog; nullptr when there is none.
QWidget *ownerOf(std::int32_t handle);

// Paths keep their exact bytes on the way into Qt and back.
QString toQPath(const std::string &path);
std::string fromQPath(const QString &path);

} // namespace qfc
