// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/widestring_p.h"

#include <cstdint>
#include <string_view>
#include <windows.h>

namespace mrb::platform
{

// The KeyRoot values that name the system's roots.
constexpr std::int32_t firstRoot = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t lastRoot = static_cast<std::int32_t>(0x80000006u);

// An open key, closed when it goes.
class SystemKey
{
public:
    SystemKey(std::int32_t root, std::string_view path, REGSAM access, bool create = false)
    {
        if (root < firstRoot || root > lastRoot)
            return;
        const auto top = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root)));
        const std::wstring name = toWide(path);
        const LSTATUS status = create
            ? RegCreateKeyExW(top, name.c_str(), 0, nullptr, 0, access, nullptr, &m_key, nullptr)
            : RegOpenKeyExW(top, name.c_str(), 0, access, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~SystemKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    SystemKey(const SystemKey &) = delete;
    SystemKey &operator=(const SystemKey &) = delete;
    explicit operator bool() const { return m_key != nullptr; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace mrb::platform
