// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/base64/base64.h"

#include <cstdint>

namespace qfc
{

// The Base64 of size bytes, which feed hands to the encoder; nothing when
// feed says the bytes were not all there.
template <class Feed> mrb::platform::Bstr Base64::encodedText(std::size_t size, Feed feed) const
{
    if (size == 0)
        return {};
    const std::size_t length = base64Length(size);
    if (length > UINT32_MAX / 2)
        return {};
    mrb::platform::Bstr text =
        mrb::platform::Bstr::adopt(mrb::platform::allocBstrUnits(static_cast<std::uint32_t>(length)));
    if (!text.get())
        return {};
    Base64Encoder<char16_t> encoder(m_alphabet, text.get());
    if (!feed(encoder) || encoder.finish() != text.get() + length)
        return {};
    return text;
}

} // namespace qfc
