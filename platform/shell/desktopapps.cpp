// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/shell/desktopapps.h"

#include "platform/os/userfolders.h"
#include "platform/text/asciitext.h"

#include <QMimeDatabase>
#include <QMimeType>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace mrb::platform
{

namespace
{

std::vector<std::string> splitList(const std::string &text, char separator)
{
    const std::vector<std::string_view> parts = nonEmptyParts(text, separator);
    return std::vector<std::string>(parts.begin(), parts.end());
}

std::string env(const char *name)
{
    const char *v = std::getenv(name);
    return v ? v : "";
}

std::vector<std::string> dataDirs()
{
    const std::string v = env("XDG_DATA_DIRS");
    return splitList(v.empty() ? "/usr/local/share:/usr/share" : v, ':');
}

std::vector<std::string> configDirs()
{
    const std::string v = env("XDG_CONFIG_DIRS");
    return splitList(v.empty() ? "/etc/xdg" : v, ':');
}

// Application folders in order of precedence.
std::vector<std::string> applicationFolders()
{
    std::vector<std::string> folders {userFolder(UserFolder::Data) + "/applications"};
    for (const std::string &d : dataDirs())
        folders.push_back(d + "/applications");
    return folders;
}

std::string trimmed(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The value escapes of desktop entries: \s \n \t \r \\.
std::string unescapeValue(const std::string &v)
{
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out += n == 's' ? ' ' : n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
        } else {
            out += v[i];
        }
    }
    return out;
}

// The key=value lines of one group of an INI-like file.
std::vector<std::pair<std::string, std::string>> groupOf(const std::string &file, const std::string &group)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::ifstream in(file);
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inGroup = line == "[" + group + "]";
            continue;
        }
        if (!inGroup)
            continue;
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            out.emplace_back(trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1)));
    }
    return out;
}

// Desktop file ids for files below an applications folder: sub-folders become "-".
void collectEntries(const std::string &folder, std::vector<std::pair<std::string, std::string>> &out)
{
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->path().extension() != ".desktop")
            continue;
        std::string id = fs::relative(it->path(), folder, ec).string();
        std::replace(id.begin(), id.end(), '/', '-');
        out.emplace_back(id, it->path().string());
    }
}

} // namespace

std::optional<DesktopApplication> readDesktopEntry(const std::string &file, const std::string &id)
{
    DesktopApplication app;
    app.id = id;
    bool isApplication = false;
    bool hidden = false;
    for (const auto &[key, value] : groupOf(file, "Desktop Entry")) {
        if (key == "Type")
            isApplication = value == "Application";
        else if (key == "Name")
            app.name = unescapeValue(value);
        else if (key == "Exec")
            app.exec = unescapeValue(value);
        else if (key == "MimeType")
            app.mimeTypes = splitList(value, ';');
        else if (key == "Hidden" || key == "NoDisplay")
            hidden = hidden || value == "true";
    }
    if (!isApplication || hidden || app.exec.empty())
        return std::nullopt;
    if (app.name.empty())
        app.name = id;
    return app;
}

std::vector<DesktopApplication> installedApplications()
{
    std::vector<DesktopApplication> apps;
    std::set<std::string> seen;
    for (const std::string &folder : applicationFolders()) {
        std::vector<std::pair<std::string, std::string>> entries;
        collectEntries(folder, entries);
        std::sort(entries.begin(), entries.end());
        for (const auto &[id, file] : entries) {
            if (!seen.insert(id).second)
                continue; // an earlier folder's entry hides this one, even a hidden one
            if (auto app = readDesktopEntry(file, id))
                apps.push_back(std::move(*app));
        }
    }
    std::sort(apps.begin(), apps.end(), [](const DesktopApplication &a, const DesktopApplication &b) {
        return QString::fromStdString(a.name).compare(QString::fromStdString(b.name), Qt::CaseInsensitive) < 0;
    });
    return apps;
}

std::vector<std::string> applicationsFor(const std::string &mimeType)
{
    std::vector<std::string> ids;
    auto add = [&ids](const std::string &id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    };
    std::vector<std::string> lists {userFolder(UserFolder::Config) + "/mimeapps.list"};
    for (const std::string &d : configDirs())
        lists.push_back(d + "/mimeapps.list");
    lists.push_back(userFolder(UserFolder::Data) + "/applications/mimeapps.list");
    for (const std::string &d : dataDirs())
        lists.push_back(d + "/applications/mimeapps.list");

    const auto apps = installedApplications();
    auto installed = [&apps](const std::string &id) {
        return std::any_of(apps.begin(), apps.end(), [&id](const DesktopApplication &a) { return a.id == id; });
    };
    for (const char *group : {"Default Applications", "Added Associations"}) {
        for (const std::string &list : lists) {
            for (const auto &[key, value] : groupOf(list, group)) {
                if (key != mimeType)
                    continue;
                for (const std::string &id : splitList(value, ';')) {
                    if (installed(id))
                        add(id);
                }
            }
        }
    }
    for (const DesktopApplication &app : apps) {
        if (std::find(app.mimeTypes.begin(), app.mimeTypes.end(), mimeType) != app.mimeTypes.end())
            add(app.id);
    }
    return ids;
}

std::vector<std::string> mimeTypesOf(const std::string &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
    std::vector<std::string> out;
    if (!type.isValid())
        return out;
    out.push_back(type.name().toStdString());
    for (const QString &ancestor : type.allAncestors())
        out.push_back(ancestor.toStdString());
    return out;
}

bool hasAssociatedApplication(const std::string &path)
{
    for (const std::string &type : mimeTypesOf(path)) {
        if (type != "application/octet-stream" && !applicationsFor(type).empty())
            return true;
    }
    return false;
}

std::vector<std::string> commandLineFor(const std::string &exec, const std::string &file)
{
    // Split into words: double quotes group, and inside them a backslash
    // escapes " ` $ and backslash.
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size()
                && std::string("\"`$\\").find(exec[i + 1]) != std::string::npos) {
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return {};
    if (inWord)
        words.push_back(word);

    std::vector<std::string> command;
    bool fileGiven = false;
    for (const std::string &w : words) {
        if (w == "%f" || w == "%F" || w == "%u" || w == "%U") {
            if (!fileGiven)
                command.push_back(file);
            fileGiven = true;
            continue;
        }
        std::string out;
        bool dropped = false;
        for (std::size_t i = 0; i < w.size(); ++i) {
            if (w[i] != '%' || i + 1 >= w.size()) {
                out += w[i];
                continue;
            }
            const char code = w[++i];
            if (code == '%')
                out += '%';
            else if (code == 'f' || code == 'u' || code == 'F' || code == 'U') {
                out += file;
                fileGiven = true;
            } else
                dropped = true; // %i %c %k and the deprecated codes
        }
        if (!out.empty() || !dropped)
            command.push_back(out);
    }
    if (command.empty())
        return {};
    // A program that takes no file by its Exec line is given it as the last argument.
    if (!fileGiven)
        command.push_back(file);
    return command;
}

} // namespace mrb::platform
