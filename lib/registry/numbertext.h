// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/argholders_p.h"
#include "platform/com/bstr.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qfc
{

// A number written as text, by the automation conversion rules (blanks
// around it, a fraction rounded half to even); nothing outside low..high.
inline std::optional<std::int64_t> numberIn(const std::string &text, std::int64_t low, std::int64_t high)
{
    mrb::platform::Bstr bstr(text);
    VARIANT v {};
    v.vt = VT_BSTR;
    v.bstrVal = bstr.get();
    std::int64_t n = 0;
    if (FAILED(detail::toInteger(v, low, high, &n)))
        return std::nullopt;
    return n;
}

} // namespace qfc
