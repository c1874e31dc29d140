// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mrb::platform
{

// An application as its desktop entry (NAME.desktop in an "applications"
// data folder) describes it.
struct DesktopApplication {
    std::string id; // "org.example.Viewer.desktop"
    std::string name; // Name=
    std::string exec; // Exec=, with its field codes
    std::vector<std::string> mimeTypes;
};

// Reads one desktop entry; nothing for an entry that is no launchable
// application (wrong type, hidden, no Exec).
std::optional<DesktopApplication> readDesktopEntry(const std::string &file, const std::string &id);

// The applications installed for this user: "$XDG_DATA_HOME/applications"
// first, then each "$XDG_DATA_DIRS" folder's; the first entry of an id wins.
// Entries marked NoDisplay are left out. Sorted by name.
std::vector<DesktopApplication> installedApplications();

// The ids of the applications associated with a MIME type: the defaults and
// added associations of the mimeapps.list files, then every installed
// application that lists the type.
std::vector<std::string> applicationsFor(const std::string &mimeType);

// The MIME type of a file (by name, then content) followed by its ancestors
// ("text/x-csrc", "text/plain", "application/octet-stream").
std::vector<std::string> mimeTypesOf(const std::string &path);

// Whether any application is associated with the file's type or one of its
// ancestors other than the catch-all application/octet-stream.
bool hasAssociatedApplication(const std::string &path);

// The program and arguments an Exec line runs for one file: split by the
// desktop entry quoting rules, %f %F %u %U replaced by the file, %% by "%",
// other field codes dropped. Empty for an empty or badly quoted line.
std::vector<std::string> commandLineFor(const std::string &exec, const std::string &file);

} // namespace mrb::platform
