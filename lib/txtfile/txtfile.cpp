// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/txtfile.h"

#include "lib/frame/identities.h"

namespace qfc
{

namespace
{

constexpr DISPID id(int n)
{
    return firstDispid + n;
}

constexpr Param appendLine[] = {required("FileName"), required("Content")};
constexpr Param fileName[] = {required("FileName")};
constexpr Param deleteLine[] = {required("FileName"), required("Content"), optional("Separator"), optional("FieldNo")};
constexpr Param modifyLine[] = {
    required("FileName"), required("OldString"), required("NewString"), optional("Separator"), optional("FieldNo")};
constexpr Param findLine[] = {required("FileName"), required("Line")};
constexpr Param findString[] = {required("FileName"), required("FindString"), optional("MatchCase", -1)};
constexpr Param writeByCharset[] = {required("FileName"), required("Content"), optional("CharSet", "utf-8")};
constexpr Param readByCharset[] = {required("FileName"), optional("CharSet", "utf-8")};

const Operation table[] = {
    operation<&TxtFile::AppendLine>("AppendLine", id(0), appendLine),
    operation<&TxtFile::ReadLastLine>("ReadLastLine", id(1), fileName),
    operation<&TxtFile::GetLineQty>("GetLineQty", id(2), fileName),
    operation<&TxtFile::DeleteLine>("DeleteLine", id(3), deleteLine),
    operation<&TxtFile::ModifyLine>("ModifyLine", id(4), modifyLine),
    operation<&TxtFile::FindLine>("FindLine", id(5), findLine),
    operation<&TxtFile::GetLineNoByFind>("GetLineNoByFind", id(6), findString),
    operation<&TxtFile::GetLineStrByFind>("GetLineStrByFind", id(7), findString),
    operation<&TxtFile::WriteByCharset>("WriteByCharset", id(8), writeByCharset),
    operation<&TxtFile::ReadByCharset>("ReadByCharset", id(9), readByCharset),
    operation<&TxtFile::AutoRead>("AutoRead", id(10), fileName),
    operation<&TxtFile::GetEncoding>("GetEncoding", id(11), fileName),
};

const QfcTxtFileVtbl interfaceTable = {
    QFC_DISPATCH_SLOTS(TxtFile),
    QFC_SLOT(QfcTxtFile, TxtFile::AppendLine),
    QFC_SLOT(QfcTxtFile, TxtFile::ReadLastLine),
    QFC_SLOT(QfcTxtFile, TxtFile::GetLineQty),
    QFC_SLOT(QfcTxtFile, TxtFile::DeleteLine),
    QFC_SLOT(QfcTxtFile, TxtFile::ModifyLine),
    QFC_SLOT(QfcTxtFile, TxtFile::FindLine),
    QFC_SLOT(QfcTxtFile, TxtFile::GetLineNoByFind),
    QFC_SLOT(QfcTxtFile, TxtFile::GetLineStrByFind),
    QFC_SLOT(QfcTxtFile, TxtFile::WriteByCharset),
    QFC_SLOT(QfcTxtFile, TxtFile::ReadByCharset),
    QFC_SLOT(QfcTxtFile, TxtFile::AutoRead),
    QFC_SLOT(QfcTxtFile, TxtFile::GetEncoding),
};

} // namespace

TxtFile::TxtFile()
    : DispatchObject(&interfaceTable)
{
}

const IID &TxtFile::interfaceId()
{
    return IID_TxtFile;
}

std::span<const Operation> TxtFile::operations()
{
    return table;
}

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
