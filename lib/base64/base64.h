// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/dispatch.h"
#include "lib/frame/interfaces.h"

#include <span>
#include <string>

namespace qfc
{

// The class Base64: encoding and decoding of text and files.
class Base64 final : public DispatchObject<Base64, QfcBase64>
{
public:
    Base64();

    static const IID &interfaceId();
    static std::span<const Operation> operations();

    std::string Encode(std::string Source, std::string CharSet);
    std::string EncodeFile(std::string astrFile);
    std::string Decode(StrRef sInput, std::string CharSet);
    void DecodeToFile(StrRef sInput, StrRef sFileName);
};

} // namespace qfc
