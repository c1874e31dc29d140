// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/base64/base64.h"

#include "lib/frame/identities.h"

namespace qfc
{

namespace
{

constexpr Param encode[] = {required("Source"), optional("CharSet", "utf-8")};
constexpr Param encodeFile[] = {required("astrFile")};
constexpr Param decode[] = {required("sInput"), optional("CharSet", "utf-8")};
constexpr Param decodeToFile[] = {required("sInput"), required("sFileName")};

// The numbers in between belong to the class's private operations.
const Operation table[] = {
    operation<&Base64::Encode>("Encode", 0x60030000, encode),
    operation<&Base64::EncodeFile>("EncodeFile", 0x60030003, encodeFile),
    operation<&Base64::Decode>("Decode", 0x60030005, decode),
    operation<&Base64::DecodeToFile>("DecodeToFile", 0x60030006, decodeToFile),
};

const QfcBase64Vtbl interfaceTable = {
    QFC_DISPATCH_SLOTS(Base64),
    QFC_SLOT(QfcBase64, Base64::Encode),
    QFC_SLOT(QfcBase64, Base64::EncodeFile),
    QFC_SLOT(QfcBase64, Base64::Decode),
    QFC_SLOT(QfcBase64, Base64::DecodeToFile),
};

} // namespace

Base64::Base64()
    : DispatchObject(&interfaceTable)
{
}

const IID &Base64::interfaceId()
{
    return IID_Base64;
}

std::span<const Operation> Base64::operations()
{
    return table;
}

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
