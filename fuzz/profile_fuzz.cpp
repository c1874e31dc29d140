// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Profile files are edited by hand and by other programs: any bytes read and
// edit without harm, and a key written reads back as it was written.
// Input: section, key and value on the first three lines, then the text.
#include "fuzz/fuzzinput.h"
#include "platform/profile/profilefile.h"

using mrb::fuzz::FuzzInput;

namespace
{

// A value that reads back unchanged: no blanks at its ends (they are
// trimmed), no surrounding quotes (one pair is taken off), no NUL.
bool readsBackAsWritten(std::string_view value)
{
    if (value.find('\0') != std::string_view::npos)
        return false;
    constexpr std::string_view blanks = " \t\r\v\f";
    if (!value.empty()
        && (blanks.find(value.front()) != std::string_view::npos
            || blanks.find(value.back()) != std::string_view::npos))
        return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::string_view section = in.piece();
    const std::string_view key = in.piece();
    const std::string_view value = in.piece();
    const std::string_view text = in.rest();

    (void)mrb::platform::profileStringIn(text, section, key);
    const auto edited = mrb::platform::profileTextWith(text, section, key, value);
    if (edited && readsBackAsWritten(value))
        FUZZ_CHECK(mrb::platform::profileStringIn(*edited, section, key) == value);
    return 0;
}
