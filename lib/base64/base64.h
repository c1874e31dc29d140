// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/base64/base64codec.h"
#include "lib/frame/classdefinition.h"

namespace qfc
{

// The class Base64: encoding and decoding of text and files. Its operations are QFC_BASE64_OPERATIONS.
class Base64 final : public DispatchObject<Base64, QfcBase64>
{
    QFC_CLASS_OPERATIONS(Base64, QFC_BASE64_OPERATIONS)

private:
    template <class Feed> mrb::platform::Bstr encodedText(std::size_t size, Feed feed) const;

    // Built for each object when it is made, as the class always has.
    const Base64Alphabet m_alphabet = makeBase64Alphabet();
    const Base64Reverse m_reverse = makeBase64Reverse(m_alphabet);
};

} // namespace qfc
