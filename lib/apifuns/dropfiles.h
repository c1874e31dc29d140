// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QEvent>

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace qfc
{

// Files dropped on a widget. Once a widget accepts drops, each drop of local
// files is kept under a new drop handle; the widget then gets an event of
// type dropFilesEvent and its dynamic property "hDrop" holds the handle.
inline constexpr QEvent::Type dropFilesEvent = static_cast<QEvent::Type>(QEvent::User + 0x233);

void acceptDroppedFiles(QWidget *widget, bool accept);

// Records a drop (used by the event filter, and by tests); returns its handle.
std::int32_t recordDrop(QWidget *widget, const std::vector<std::string> &files);

// The first file of a drop, which is then forgotten; "" for an unknown
// handle or a drop without files.
std::string takeDroppedFile(std::int32_t handle);

} // namespace qfc
