// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64.h"

#include "lib/frame/identities.h"

namespace qfc
{

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)

// ---- every operation answers with the empty result until it is built ----------

std::string Base64::Encode(std::string, std::string)
{
    return {};
}

std::string Base64::EncodeFile(std::string)
{
    return {};
}

std::string Base64::Decode(StrRef, std::string)
{
    return {};
}

void Base64::DecodeToFile(StrRef, StrRef)
{
}

} // namespace qfc
