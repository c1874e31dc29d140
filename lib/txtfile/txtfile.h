// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/dispatch.h"
#include "lib/frame/interfaces.h"

#include <cstdint>
#include <span>
#include <string>

namespace qfc
{

// The class TxtFile: line operations on text files and text in named
// character sets.
class TxtFile final : public DispatchObject<TxtFile, QfcTxtFile>
{
public:
    TxtFile();

    static const IID &interfaceId();
    static std::span<const Operation> operations();

    void AppendLine(std::string FileName, StrRef Content);
    std::string ReadLastLine(std::string FileName);
    std::int32_t GetLineQty(std::string FileName);
    void DeleteLine(std::string FileName, std::string Content, std::string Separator, std::int16_t FieldNo);
    void ModifyLine(std::string FileName,
        std::string OldString,
        std::string NewString,
        std::string Separator,
        std::int16_t FieldNo);
    bool FindLine(std::string FileName, std::string Line);
    std::int32_t GetLineNoByFind(std::string FileName, std::string FindString, bool MatchCase);
    std::string GetLineStrByFind(std::string FileName, std::string FindString, bool MatchCase);
    void WriteByCharset(std::string FileName, std::string Content, std::string CharSet);
    std::string ReadByCharset(std::string FileName, std::string CharSet);
    std::string AutoRead(std::string FileName);
    std::string GetEncoding(std::string FileName);
};

} // namespace qfc
