// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"
#include "platform/com/utf16.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace mrb::platform
{

// The units of a BSTR (a NULL BSTR is empty).
inline std::u16string_view viewOf(BSTR s)
{
    return s ? std::u16string_view(s, SysStringLen(s)) : std::u16string_view();
}
inline std::string toUtf8(BSTR s)
{
    return utf16ToUtf8(viewOf(s));
}

// A newly allocated BSTR (the caller owns it); nullptr only when memory ran out.
BSTR allocBstr(std::string_view utf8);
// A BSTR of len units whose content the caller then writes (only the closing
// NUL is set); nullptr when memory ran out.
BSTR allocBstrUnits(std::uint32_t len);
BSTR allocBstr16(std::u16string_view utf16);

// An owned BSTR, freed with the object.
class Bstr
{
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8)
        : m_s(allocBstr(utf8))
    {
    }
    static Bstr fromUtf16(std::u16string_view utf16)
    {
        Bstr b;
        b.m_s = allocBstr16(utf16);
        return b;
    }
    // Takes ownership of a BSTR someone handed over.
    static Bstr adopt(BSTR s)
    {
        Bstr b;
        b.m_s = s;
        return b;
    }
    ~Bstr() { SysFreeString(m_s); }
    Bstr(Bstr &&other) noexcept
        : m_s(other.release())
    {
    }
    Bstr &operator=(Bstr &&other) noexcept
    {
        if (this != &other) {
            SysFreeString(m_s);
            m_s = other.release();
        }
        return *this;
    }
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;

    BSTR get() const { return m_s; }
    // For an out parameter: frees the current string and returns its slot.
    BSTR *out()
    {
        SysFreeString(m_s);
        m_s = nullptr;
        return &m_s;
    }
    // Hands ownership to the caller.
    BSTR release()
    {
        BSTR s = m_s;
        m_s = nullptr;
        return s;
    }
    std::u16string_view view() const { return viewOf(m_s); }
    std::string utf8() const { return toUtf8(m_s); }

private:
    BSTR m_s = nullptr;
};

} // namespace mrb::platform
