// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

inline bool operator==(const GUID &a, const GUID &b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

namespace mrb::platform
{

inline constexpr IID IID_IUnknown = MRB_IID_IUNKNOWN_INIT;
inline constexpr IID IID_IDispatch = MRB_IID_IDISPATCH_INIT;
inline constexpr IID IID_IClassFactory = MRB_IID_ICLASSFACTORY_INIT;
inline constexpr IID IID_ISupportErrorInfo = MRB_IID_ISUPPORTERRORINFO_INIT;
inline constexpr IID IID_IErrorInfo = MRB_IID_IERRORINFO_INIT;
inline constexpr IID IID_NULL = MRB_IID_NULL_INIT;

// Registry form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", hexadecimal digits in
// upper case.
std::string formatGuid(const GUID &id);

// Reads the registry form; the braces may be left out and the digits may be in
// either case. Anything else (wrong length, misplaced hyphens, stray
// characters) gives nothing.
std::optional<GUID> parseGuid(std::string_view text);

} // namespace mrb::platform
