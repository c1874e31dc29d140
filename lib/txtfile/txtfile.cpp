// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/txtfile.h"

#include "lib/frame/identities.h"

namespace qfc
{

QFC_CLASS_DEFINITION(TxtFile, QfcTxtFile, IID_TxtFile, "_TxtFile", QFC_TXTFILE_OPERATIONS)

// ---- every operation answers with the empty result until it is built ----------

void TxtFile::AppendLine(std::string, StrRef)
{
}

std::string TxtFile::ReadLastLine(std::string)
{
    return {};
}

std::int32_t TxtFile::GetLineQty(std::string)
{
    return 0;
}

void TxtFile::DeleteLine(std::string, std::string, std::string, std::int16_t)
{
}

void TxtFile::ModifyLine(std::string, std::string, std::string, std::string, std::int16_t)
{
}

bool TxtFile::FindLine(std::string, std::string)
{
    return false;
}

std::int32_t TxtFile::GetLineNoByFind(std::string, std::string, bool)
{
    return 0;
}

std::string TxtFile::GetLineStrByFind(std::string, std::string, bool)
{
    return {};
}

void TxtFile::WriteByCharset(std::string, std::string, std::string)
{
}

std::string TxtFile::ReadByCharset(std::string, std::string)
{
    return {};
}

std::string TxtFile::AutoRead(std::string)
{
    return {};
}

std::string TxtFile::GetEncoding(std::string)
{
    return {};
}

} // namespace qfc
