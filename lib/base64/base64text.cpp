// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Base64 of text in a charset, the same on every system.
#include "lib/base64/encodedtext_p.h"
#include "lib/common/charsets.h"

namespace qfc
{

using mrb::platform::Bstr;

Bstr Base64::Encode(std::string Source, std::string CharSet)
{
    // A charset nobody knows gives no bytes at all, so nothing to encode.
    if (Source.empty() || !Charset::isKnown(CharSet))
        return {};
    const std::string bytes = Charset::named(CharSet).encode(Source, false);
    return encodedText(bytes.size(), [&](Base64Encoder<char16_t> &encoder) {
        encoder.feed(bytes);
        return true;
    });
}

std::string Base64::Decode(StrRef sInput, std::string CharSet)
{
    const std::string input = sInput.get();
    if (input.empty() || !Charset::isKnown(CharSet))
        return {};
    return Charset::named(CharSet).decode(decodeBase64(input, m_reverse));
}

} // namespace qfc
