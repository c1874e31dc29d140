// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/registry/registryformat.h"

#include "platform/text/asciitext.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace mrb::platform
{

namespace
{

constexpr std::string_view fileHeader = "QFC-REGISTRY 1";

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

// Key paths: control characters and "%" as %hh.
std::string encodePath(std::string_view path)
{
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (isControl(c) || c == '%') {
            out += '%';
            appendHexByte(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<std::string> decodePath(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int byte = hexByteValue(text[i + 1], text[i + 2]);
        if (byte < 0)
            return std::nullopt;
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (isControl(c)) {
                out += "\\x";
                appendHexByte(out, c);
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

// Reads a quoted string at text[pos]; pos ends after the closing quote.
std::optional<std::string> unquote(std::string_view text, std::size_t &pos)
{
    if (pos >= text.size() || text[pos] != '"')
        return std::nullopt;
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= text.size())
            return std::nullopt;
        switch (text[pos]) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            if (pos + 2 >= text.size())
                return std::nullopt;
            const int byte = hexByteValue(text[pos + 1], text[pos + 2]);
            if (byte < 0)
                return std::nullopt;
            out += static_cast<char>(byte);
            pos += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string formatValue(const RegValue &v)
{
    switch (v.type) {
    case RegValueType::String:
        return quote(v.data);
    case RegValueType::ExpandString:
        return "expand:" + quote(v.data);
    case RegValueType::DWord: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(v.number));
        return buf;
    }
    case RegValueType::Binary: {
        std::string out = "hex:";
        for (std::size_t i = 0; i < v.data.size(); ++i) {
            if (i)
                out += ',';
            appendHexByte(out, static_cast<unsigned char>(v.data[i]));
        }
        return out;
    }
    }
    return quote(v.data);
}

std::optional<RegValue> parseValue(std::string_view text)
{
    std::size_t pos = 0;
    if (!text.empty() && text.front() == '"') {
        auto s = unquote(text, pos);
        if (!s || pos != text.size())
            return std::nullopt;
        return RegValue::string(std::move(*s));
    }
    if (text.starts_with("expand:")) {
        pos = 7;
        auto s = unquote(text, pos);
        if (!s || pos != text.size())
            return std::nullopt;
        return RegValue::expandString(std::move(*s));
    }
    if (text.starts_with("dword:")) {
        const std::string_view digits = text.substr(6);
        if (digits.size() != 8)
            return std::nullopt;
        std::uint32_t n = 0;
        for (const char c : digits) {
            const int d = hexValue(c);
            if (d < 0)
                return std::nullopt;
            n = (n << 4) | static_cast<std::uint32_t>(d);
        }
        return RegValue::dword(n);
    }
    if (text.starts_with("hex:")) {
        std::string_view rest = text.substr(4);
        std::string bytes;
        while (!rest.empty()) {
            if (rest.size() < 2)
                return std::nullopt;
            const int byte = hexByteValue(rest[0], rest[1]);
            if (byte < 0)
                return std::nullopt;
            bytes += static_cast<char>(byte);
            rest.remove_prefix(2);
            if (!rest.empty()) {
                if (rest.front() != ',' || rest.size() == 1)
                    return std::nullopt;
                rest.remove_prefix(1);
            }
        }
        return RegValue::binary(std::move(bytes));
    }
    return std::nullopt;
}

void serializeKey(const RegistryKey &key, const std::string &path, bool isRoot, std::string &out)
{
    if (!isRoot || !key.values().empty()) {
        out += '[';
        out += encodePath(path);
        out += "]\n";
        for (const auto &[name, value] : key.values()) {
            out += name.empty() ? std::string("@") : quote(name);
            out += '=';
            out += formatValue(value);
            out += '\n';
        }
        out += '\n';
    }
    for (const std::string &child : key.subKeyNames()) {
        const RegistryKey *sub = key.find(child);
        // A name that splits differently (it cannot hold a separator) never occurs.
        if (sub)
            serializeKey(*sub, path.empty() ? child : path + "\\" + child, false, out);
    }
}

} // namespace

std::size_t registryDepthOf(const RegistryKey &root)
{
    std::size_t deepest = 0;
    std::vector<std::pair<const RegistryKey *, std::size_t>> stack {{&root, 0}};
    while (!stack.empty()) {
        const auto [key, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        for (const std::string &name : key->subKeyNames())
            stack.emplace_back(key->find(name), depth + 1);
    }
    return deepest;
}

std::string tooDeepText()
{
    return "a key nested deeper than " + std::to_string(maxRegistryKeyDepth) + " levels";
}

std::string registryText(const RegistryKey &root)
{
    std::string out(fileHeader);
    out += "\n\n";
    serializeKey(root, std::string(), true, out);
    return out;
}

Result<RegistryKey> parseRegistryText(std::string_view text)
{
    RegistryKey root;
    RegistryKey *current = nullptr;
    bool sawHeader = false;
    std::size_t lineNo = 0;
    auto fail = [&](const std::string &why) -> Result<RegistryKey> {
        return Problem {{}, "line " + std::to_string(lineNo) + ": " + why};
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (!sawHeader) {
            if (line != fileHeader)
                return fail("not a registry file");
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("unterminated key name");
            const auto path = decodePath(line.substr(1, line.size() - 2));
            if (!path)
                return fail("bad key name");
            if (splitRegPath(*path).size() > maxRegistryKeyDepth)
                return fail(tooDeepText());
            current = &root.create(*path);
            continue;
        }
        if (!current)
            return fail("value outside a key");
        std::string name;
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else {
            auto quoted = unquote(line, at);
            if (!quoted)
                return fail("bad value name");
            name = std::move(*quoted);
        }
        if (at >= line.size() || line[at] != '=')
            return fail("missing \"=\"");
        const auto value = parseValue(line.substr(at + 1));
        if (!value)
            return fail("bad value");
        current->setValue(name, *value);
    }
    return root;
}

} // namespace mrb::platform
