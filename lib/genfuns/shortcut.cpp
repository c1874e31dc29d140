// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/shortcut.h"

#include "lib/common/filebytes.h"
#include "platform/os/pathkind.h"
#include "platform/shell/desktopapps.h"

#include <QUrl>

#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>

namespace qfc
{

namespace
{

bool exists(const std::string &path)
{
    return mrb::platform::pathKindOf(path) != mrb::platform::PathKind::Missing;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The keys of the [Desktop Entry] group, escapes (\s \n \t \r \\) undone.
std::map<std::string, std::string> desktopEntry(std::string_view text)
{
    std::map<std::string, std::string> keys;
    bool inEntry = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inEntry || eq == std::string_view::npos)
            continue;
        std::string value;
        const std::string_view raw = trimmed(line.substr(eq + 1));
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size()) {
                const char c = raw[++i];
                value += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
            } else {
                value += raw[i];
            }
        }
        keys.emplace(std::string(trimmed(line.substr(0, eq))), std::move(value));
    }
    return keys;
}

bool programExists(const std::string &program)
{
    if (program.find('/') != std::string::npos)
        return exists(program);
    const char *path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
        const std::string candidate = std::string(dir.empty() ? "." : dir) + "/" + program;
        if (mrb::platform::isExecutableFile(candidate))
            return true;
    }
    return false;
}

// The local path of a Link's URL: a path as it is, a local file: URL decoded.
std::optional<std::string> localPathOf(const std::string &url)
{
    if (url.starts_with("/"))
        return url;
    const QUrl parsed(QString::fromStdString(url));
    if (!parsed.isLocalFile())
        return std::nullopt; // another scheme, or a file on another host, cannot be checked
    return parsed.toLocalFile().toStdString();
}

} // namespace

bool shortcutTargetExists(const std::string &shortcut)
{
    const mrb::platform::PathKind kind = mrb::platform::linkKindOf(shortcut);
    if (kind == mrb::platform::PathKind::Link)
        return exists(shortcut);
    if (kind != mrb::platform::PathKind::File || !shortcut.ends_with(".desktop"))
        return false;
    const auto text = readFileBytes(shortcut);
    if (!text)
        return false;
    const auto keys = desktopEntry(*text);
    const auto type = keys.find("Type");
    if (type == keys.end())
        return false;
    if (type->second == "Link") {
        const auto url = keys.find("URL");
        const auto path = url == keys.end() ? std::nullopt : localPathOf(url->second);
        return path && exists(*path);
    }
    if (type->second == "Application") {
        const auto exec = keys.find("Exec");
        const auto command =
            exec == keys.end() ? std::vector<std::string>() : mrb::platform::commandLineFor(exec->second, {});
        return !command.empty() && programExists(command.front());
    }
    return false;
}

} // namespace qfc
