// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/fileuri.h"

#include "platform/fs/filesystem.h"
#include "platform/text/asciitext.h"

namespace mrb::platform
{

namespace
{

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i])
            return false;
    }
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

std::string fileUri(std::string_view path)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    uri.reserve(uri.size() + path.size());
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '-' || b == '.'
            || b == '_' || b == '~' || b == '/') {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(hex[b >> 4]);
            uri.push_back(hex[b & 15]);
        }
    }
    return uri;
}

std::optional<std::string> localPathOfUri(std::string_view uri)
{
    if (!startsWithNoCase(uri, "file:"))
        return std::nullopt;
    std::string_view rest = uri.substr(5);
    if (const auto end = rest.find_first_of("?#"); end != std::string_view::npos)
        rest = rest.substr(0, end);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos)
            return std::nullopt;
        const std::string_view host = rest.substr(0, slash);
        // an address of another machine names nothing here
        if (!host.empty() && !(host.size() == 9 && startsWithNoCase(host, "localhost")))
            return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (!rest.starts_with('/'))
        return std::nullopt;
    std::string path;
    path.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexByteValue(rest[i + 1], rest[i + 2]) >= 0) {
            path.push_back(static_cast<char>(hexByteValue(rest[i + 1], rest[i + 2])));
            i += 2;
        } else {
            // a "%" that starts no escape stands for itself
            path.push_back(rest[i]);
        }
    }
    // no name holds a NUL byte: such an address is damaged
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
    return normalizePath(path);
}

std::vector<std::string_view> uriListEntries(std::string_view text)
{
    std::vector<std::string_view> entries;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        while (!line.empty() && isBlank(line.back()))
            line.remove_suffix(1);
        if (!line.empty() && !line.starts_with('#'))
            entries.push_back(line);
    }
    return entries;
}

} // namespace mrb::platform
