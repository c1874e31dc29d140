// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// What the save dialog looks like for one output file type.
struct SaveDialogSpec {
    std::string title;
    std::string filter; // description and pattern pairs, each element NUL-separated from the next
    std::string defaultExtension;
};

// The dialog for "Playlist", "PBR" or "Customize"; nothing for any other text.
std::optional<SaveDialogSpec> saveDialogFor(std::string_view fileType);

enum class OutputRoute {
    PathList, // one full path a line: M3U, PowerBuilder resources, standard mode
    PlsPlaylist,
    Spreadsheet,
    FieldTable,
};

enum class WebWrapper { No, Yes };

struct OutputPlan {
    OutputRoute route;
    WebWrapper wrapper;
};

// The writer for a file type, standard-mode text and chosen file name; the
// first matching rule wins. Extensions are compared without regard to case.
OutputPlan chooseOutput(std::string_view fileType, std::string_view standard, std::string_view fileName);

// Whether name ends in suffix (given in lower case), ignoring ASCII case.
bool endsWithLowercase(std::string_view name, std::string_view suffix);

// The web-page wrapper belongs to names ending in ".htm" or ".html" (".shtml" is not one).
bool isWebPageName(std::string_view fileName);

} // namespace mrb::core
