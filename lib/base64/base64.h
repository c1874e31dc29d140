// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classdefinition.h"

namespace qfc
{

// The class Base64: encoding and decoding of text and files. Its operations are QFC_BASE64_OPERATIONS.
class Base64 final : public DispatchObject<Base64, QfcBase64>
{
    QFC_CLASS_OPERATIONS(Base64, QFC_BASE64_OPERATIONS)
};

} // namespace qfc
