// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/windows/systemregistry.h"
#include "platform/windows/systemregistrykey_win32_p.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

bool isText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

SystemRegValue valueOf(DWORD type, const std::vector<BYTE> &bytes)
{
    SystemRegValue value {type, {}};
    if (isText(type)) {
        std::wstring wide(reinterpret_cast<const wchar_t *>(bytes.data()), bytes.size() / sizeof(wchar_t));
        // The NUL that ends a stored string is no part of its text.
        if (!wide.empty() && wide.back() == L'\0')
            wide.pop_back();
        value.data = fromWide(wide);
    } else {
        value.data.assign(bytes.begin(), bytes.end());
    }
    return value;
}

// The value at index, or nothing at the end of the list.
std::optional<std::pair<std::string, SystemRegValue>> valueAt(HKEY key, DWORD index)
{
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (RegQueryInfoKeyW(key,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            &longestName,
            &longestData,
            nullptr,
            nullptr)
        != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring name(longestName + 1, L'\0');
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    DWORD nameLength = longestName + 1;
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
        return std::nullopt;
    name.resize(nameLength);
    data.resize(dataSize);
    return std::pair {fromWide(name), valueOf(type, data)};
}

} // namespace

bool systemKeyExists(std::int32_t root, std::string_view path)
{
    return static_cast<bool>(SystemKey(root, path, KEY_READ));
}

bool systemKeyFullyAccessible(std::int32_t root, std::string_view path)
{
    return static_cast<bool>(SystemKey(root, path, KEY_ALL_ACCESS));
}

std::optional<std::vector<std::string>> systemSubKeyNames(std::int32_t root, std::string_view path)
{
    const SystemKey key(root, path, KEY_READ);
    if (!key)
        return std::nullopt;
    std::vector<std::string> names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(fromWide(std::wstring_view(name, length)));
    }
    return names;
}

std::optional<std::vector<std::pair<std::string, SystemRegValue>>> systemValues(
    std::int32_t root, std::string_view path)
{
    const SystemKey key(root, path, KEY_READ);
    if (!key)
        return std::nullopt;
    std::vector<std::pair<std::string, SystemRegValue>> values;
    for (DWORD index = 0;; ++index) {
        auto value = valueAt(key.get(), index);
        if (!value)
            break;
        values.push_back(std::move(*value));
    }
    return values;
}

std::optional<SystemRegValue> systemValue(std::int32_t root, std::string_view path, std::string_view name)
{
    const SystemKey key(root, path, KEY_READ);
    if (!key)
        return std::nullopt;
    const std::wstring wideName = toWide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return valueOf(type, data);
}

bool createSystemKey(std::int32_t root, std::string_view path)
{
    return static_cast<bool>(SystemKey(root, path, KEY_WRITE, true));
}

bool setSystemValue(std::int32_t root, std::string_view path, std::string_view name, const SystemRegValue &value)
{
    const SystemKey key(root, path, KEY_WRITE, true);
    if (!key)
        return false;
    std::wstring text;
    const BYTE *bytes = reinterpret_cast<const BYTE *>(value.data.data());
    std::size_t size = value.data.size();
    if (isText(value.type)) {
        text = toWide(value.data);
        bytes = reinterpret_cast<const BYTE *>(text.c_str());
        size = (text.size() + 1) * sizeof(wchar_t);
    }
    return RegSetValueExW(key.get(), toWide(name).c_str(), 0, value.type, bytes, static_cast<DWORD>(size))
        == ERROR_SUCCESS;
}

bool deleteSystemKey(std::int32_t root, std::string_view path)
{
    if (path.find_first_not_of('\\') == std::string_view::npos)
        return false;
    const SystemKey top(root, "", KEY_ALL_ACCESS);
    return top && RegDeleteTreeW(top.get(), toWide(path).c_str()) == ERROR_SUCCESS;
}

bool deleteSystemValue(std::int32_t root, std::string_view path, std::string_view name)
{
    const SystemKey key(root, path, KEY_SET_VALUE);
    return key && RegDeleteValueW(key.get(), toWide(name).c_str()) == ERROR_SUCCESS;
}

std::string expandedEnvironmentText(std::string_view text)
{
    const std::wstring wide = toWide(text);
    const DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (size == 0)
        return std::string(text);
    std::wstring expanded(size, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
    expanded.resize(written > 0 ? written - 1 : 0);
    return fromWide(expanded);
}

} // namespace mrb::platform
