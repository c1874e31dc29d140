// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/genfuns.h"

#include "lib/frame/identities.h"
#include "platform/variant/value.h"

namespace qfc
{

namespace
{

constexpr DISPID id(int n)
{
    return firstDispid + n;
}

constexpr Param color[] = {required("Color")};
constexpr Param menuCaption[] = {required("Target"), optional("MenusFile")};
constexpr Param tip[] = {required("Target"), optional("TipsFile")};
constexpr Param inVar[] = {required("Target"), required("VarList")};
constexpr Param target[] = {required("Target")};
constexpr Param path[] = {required("Path")};
constexpr Param shortcut[] = {required("Shortcut")};
constexpr Param weekday[] = {required("WeekSN")};
constexpr Param month[] = {required("MonthSN")};

const Operation table[] = {
    operation<&GenFuns::GetCharsetList>("GetCharsetList", id(0)),
    operation<&GenFuns::LongToHTMLColor>("LongToHTMLColor", id(1), color),
    operation<&GenFuns::SetMenuCaption>("SetMenuCaption", id(2), menuCaption),
    operation<&GenFuns::SetTip>("SetTip", id(3), tip),
    operation<&GenFuns::InVar>("InVar", id(4), inVar),
    operation<&GenFuns::AdjListColWid>("AdjListColWid", id(5), target),
    operation<&GenFuns::GetFilesQty>("GetFilesQty", id(6), path),
    operation<&GenFuns::CheckShortcut>("CheckShortcut", id(7), shortcut),
    operation<&GenFuns::GetSysTempPath>("GetSysTempPath", id(8)),
    operation<&GenFuns::GetEnglishWeekday>("GetEnglishWeekday", id(9), weekday),
    operation<&GenFuns::GetEnglishShortMonth>("GetEnglishShortMonth", id(10), month),
};

const QfcGenFunsVtbl interfaceTable = {
    QFC_DISPATCH_SLOTS(GenFuns),
    QFC_SLOT(QfcGenFuns, GenFuns::GetCharsetList),
    QFC_SLOT(QfcGenFuns, GenFuns::LongToHTMLColor),
    QFC_SLOT(QfcGenFuns, GenFuns::SetMenuCaption),
    QFC_SLOT(QfcGenFuns, GenFuns::SetTip),
    QFC_SLOT(QfcGenFuns, GenFuns::InVar),
    QFC_SLOT(QfcGenFuns, GenFuns::AdjListColWid),
    QFC_SLOT(QfcGenFuns, GenFuns::GetFilesQty),
    QFC_SLOT(QfcGenFuns, GenFuns::CheckShortcut),
    QFC_SLOT(QfcGenFuns, GenFuns::GetSysTempPath),
    QFC_SLOT(QfcGenFuns, GenFuns::GetEnglishWeekday),
    QFC_SLOT(QfcGenFuns, GenFuns::GetEnglishShortMonth),
};

} // namespace

GenFuns::GenFuns()
    : DispatchObject(&interfaceTable)
{
}

const IID &GenFuns::interfaceId()
{
    return IID_GenFuns;
}

std::span<const Operation> GenFuns::operations()
{
    return table;
}

bool GenFuns::InVar(VariantArg Target, ArrayRef VarList)
{
    return mrb::platform::inVar(Target.value(), mrb::platform::valuesOf(VarList.get()));
}

// ---- operations kept for later: they answer with the empty result ----------

std::string GenFuns::GetCharsetList()
{
    return {};
}

std::string GenFuns::LongToHTMLColor(std::int32_t)
{
    return {};
}

void GenFuns::SetMenuCaption(ObjectRef, std::string)
{
}

void GenFuns::SetTip(ObjectRef, std::string)
{
}

void GenFuns::AdjListColWid(ObjectRef)
{
}

std::int32_t GenFuns::GetFilesQty(std::string)
{
    return 0;
}

bool GenFuns::CheckShortcut(std::string)
{
    return false;
}

std::string GenFuns::GetSysTempPath()
{
    return {};
}

std::string GenFuns::GetEnglishWeekday(std::int16_t)
{
    return {};
}

std::string GenFuns::GetEnglishShortMonth(std::int16_t)
{
    return {};
}

} // namespace qfc
