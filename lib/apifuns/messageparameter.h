// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/argholders_p.h"

#include <cstdint>
#include <optional>

namespace qfc
{

// A message parameter as a 32-bit number by the automation conversion rules;
// nothing when it does not convert.
inline std::optional<std::int32_t> int32Of(const VariantArg &value)
{
    if (!value.get())
        return 0; // left out: Empty, which converts to 0
    std::int64_t n = 0;
    if (FAILED(detail::toInteger(*detail::unwrap(value.get()), INT32_MIN, INT32_MAX, &n)))
        return std::nullopt;
    return static_cast<std::int32_t>(n);
}

} // namespace qfc
