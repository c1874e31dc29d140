// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Base64 text comes from anywhere (mail, web pages, scripts) and the charset
// name with it: any text decodes without harm, the bytes it gives encode and
// decode back to themselves, and the encoder fed in pieces writes what it
// writes in one go, within the room base64Length gives it.
// Input: the charset name, a newline, then the text.
#include "fuzz/fuzzinput.h"
#include "lib/base64/base64codec.h"
#include "lib/common/charsets.h"

#include <algorithm>
#include <vector>

using mrb::fuzz::FuzzInput;

namespace
{

const qfc::Base64Alphabet alphabet = qfc::makeBase64Alphabet();
const qfc::Base64Reverse reverse = qfc::makeBase64Reverse(alphabet);

// The encoder as the class uses it for a file read in pieces: UTF-16 into a
// buffer of exactly the announced size, cut where the bytes say.
std::u16string encodedInPieces(std::string_view bytes, std::size_t cut)
{
    std::vector<char16_t> out(qfc::base64Length(bytes.size()));
    qfc::Base64Encoder<char16_t> encoder(alphabet, out.data());
    const std::size_t first = bytes.empty() ? 0 : cut % (bytes.size() + 1);
    encoder.feed(bytes.substr(0, first));
    encoder.feed(bytes.substr(first, 1));
    if (first < bytes.size())
        encoder.feed(bytes.substr(first + 1));
    FUZZ_CHECK(encoder.finish() == out.data() + out.size());
    return {out.begin(), out.end()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::string_view charset = in.piece();
    const std::string_view text = in.rest();

    const std::string bytes = qfc::decodeBase64(text, reverse);
    const auto digits = static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return reverse[static_cast<unsigned char>(c)] != qfc::notInAlphabet; }));
    FUZZ_CHECK(bytes.size() == digits / 4 * 3 + (digits % 4 == 0 ? 0 : digits % 4 - 1));

    const std::string encoded = qfc::encodeBase64(bytes, alphabet);
    FUZZ_CHECK(qfc::decodeBase64(encoded, reverse) == bytes);
    const std::u16string wide = encodedInPieces(bytes, text.size());
    FUZZ_CHECK(std::equal(wide.begin(), wide.end(), encoded.begin(), encoded.end()));

    // Base64.Decode: the bytes as text of the named charset.
    if (qfc::Charset::isKnown(charset))
        (void)qfc::Charset::named(charset).decode(bytes);
    return 0;
}
