// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The filter box takes whatever the user types, and names are whatever
// bytes the file system holds. Input: the filter, a NUL, then the name.
#include "fuzz/fuzzinput.h"
#include "platform/fs/filenamepattern.h"

using mrb::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::string_view filter = in.piece('\0');
    const std::string_view name = in.rest();
    const mrb::platform::FileNamePattern pattern(filter);
    (void)pattern.matches(name);

    // A name with no wildcard, separator or blank at its ends matches itself.
    constexpr std::string_view special = "*?; \t\r\n\v\f";
    if (!name.empty() && name.find_first_of(special) == std::string_view::npos)
        FUZZ_CHECK(mrb::platform::FileNamePattern(name).matches(name));
    return 0;
}
