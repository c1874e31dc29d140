// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/genfuns.h"

#include "lib/frame/identities.h"
#include "platform/variant/value.h"

namespace qfc
{

QFC_CLASS_DEFINITION(GenFuns, QfcGenFuns, IID_GenFuns, "_GenFuns", QFC_GENFUNS_OPERATIONS)

bool GenFuns::InVar(VariantArg Target, SafeArrayRef VarList)
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

void GenFuns::SetMenuCaption(DispatchRef, std::string)
{
}

void GenFuns::SetTip(DispatchRef, std::string)
{
}

void GenFuns::AdjListColWid(DispatchRef)
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
