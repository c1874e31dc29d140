// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/outputroute.h"

#include "app/settings/settingvalues.h"
#include "platform/text/asciitext.h"

#include <initializer_list>

namespace mrb::core
{

namespace
{

std::string joinWithNul(std::initializer_list<std::string_view> parts)
{
    std::string joined;
    for (std::string_view part : parts) {
        if (!joined.empty())
            joined.push_back('\0');
        joined.append(part);
    }
    return joined;
}

} // namespace

std::optional<SaveDialogSpec> saveDialogFor(std::string_view fileType)
{
    if (fileType == settingvalue::playlist)
        return SaveDialogSpec {"Specify A Playlist File",
            joinWithNul({"M3U Playlist (*.m3u)", "*.m3u", "PLS Playlist (*.pls)", "*.pls", "All Files (*.*)", "*.*"}),
            "m3u"};
    if (fileType == settingvalue::pbr)
        return SaveDialogSpec {"Specify A PowerBuilder Resources File",
            joinWithNul({"PowerBuilder Resources (*.pbr)", "*.pbr", "All Files (*.*)", "*.*"}),
            "pbr"};
    if (fileType == settingvalue::customize)
        return SaveDialogSpec {"Specify An Output File",
            joinWithNul({"Text File (*.txt)",
                "*.txt",
                "Excel Document (*.xls)",
                "*.xls",
                "Web Page (*.htm; *.html)",
                "*.htm;*.html",
                "Word Document (*.doc)",
                "*.doc",
                "All Files (*.*)",
                "*.*"}),
            "txt"};
    return std::nullopt;
}

bool endsWithLowercase(std::string_view name, std::string_view suffix)
{
    if (name.size() < suffix.size())
        return false;
    // ASCII folding is enough: the suffixes are ASCII, and no byte of a
    // multi-byte UTF-8 sequence falls in the ASCII range.
    std::string_view tail = name.substr(name.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (platform::lowerAscii(tail[i]) != suffix[i])
            return false;
    }
    return true;
}

bool isWebPageName(std::string_view fileName)
{
    return endsWithLowercase(fileName, ".htm") || endsWithLowercase(fileName, ".html");
}

OutputPlan chooseOutput(std::string_view fileType, std::string_view standard, std::string_view fileName)
{
    const bool pls = endsWithLowercase(fileName, ".pls");
    const WebWrapper web = isWebPageName(fileName) ? WebWrapper::Yes : WebWrapper::No;
    if (fileType == settingvalue::playlist && !pls)
        return {OutputRoute::PathList, WebWrapper::No};
    if (fileType == settingvalue::pbr)
        return {OutputRoute::PathList, WebWrapper::No};
    if (fileType == settingvalue::customize && standard == settingvalue::on)
        return {OutputRoute::PathList, web};
    if (pls)
        return {OutputRoute::PlsPlaylist, WebWrapper::No};
    // A workbook named ".xlsx" must not receive tab-separated text either.
    if (endsWithLowercase(fileName, ".xls") || endsWithLowercase(fileName, ".xlsx"))
        return {OutputRoute::Spreadsheet, WebWrapper::No};
    return {OutputRoute::FieldTable, web};
}

} // namespace mrb::core
