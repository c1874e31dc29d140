// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Base64 on Windows: text in a charset is shared (base64text.cpp); the file
// operations wait for the Win32 file layer.
#include "lib/base64/base64.h"
#include "lib/frame/identities.h"
#include "lib/frame/unavailable_win32.h"

namespace qfc
{

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)

mrb::platform::Bstr Base64::EncodeFile(std::string)
{
    notYetAvailable("Base64.EncodeFile");
}

void Base64::DecodeToFile(StrRef, StrRef)
{
    notYetAvailable("Base64.DecodeToFile");
}

} // namespace qfc
