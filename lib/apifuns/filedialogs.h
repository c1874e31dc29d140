// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace qfc
{

// The file, folder and colour dialogs. Each needs widgetsAvailable(); owner
// may be nullptr. The dialogs are Qt's own (never the desktop's native ones),
// so they look and behave the same everywhere.

// Name filters from pairs of display text and pattern, each part ended by a
// NUL ("Playlists\0*.m3u;*.pls\0All files\0*.*"): "Playlists (*.m3u *.pls)".
// A pattern list of "*.*" matches every name, as it does elsewhere. A final
// display text without its pattern is left out.
QStringList nameFiltersOf(const std::string &filter);

// The save dialog: the chosen full path, with defExt (given without a point)
// added when the typed name has none; "" when cancelled. Asks before an
// existing file is replaced and refuses a folder that does not exist.
std::string saveFileName(QWidget *owner,
    const std::string &title,
    const std::string &fileName,
    const std::string &filter,
    const std::string &defDir,
    const std::string &defExt);

// The open dialog: one element (the full path) for one file; with multiSel
// and several files the folder followed by the names; none when cancelled.
std::vector<std::string> openFileNames(
    QWidget *owner, const std::string &title, const std::string &filter, const std::string &defDir, bool multiSel);

// The folder dialog with prompt as its title: the chosen folder, or "".
std::string chooseFolder(QWidget *owner, const std::string &prompt);

// The colour dialog: 0x00BBGGRR, or -1 when cancelled.
std::int32_t selectColor(QWidget *owner);

} // namespace qfc
