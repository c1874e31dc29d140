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

// The class GenFuns: general helpers, among them the list-membership test
// InVar that the program uses.
class GenFuns final : public DispatchObject<GenFuns, QfcGenFuns>
{
public:
    GenFuns();

    static const IID &interfaceId();
    static std::span<const Operation> operations();

    std::string GetCharsetList();
    std::string LongToHTMLColor(std::int32_t Color);
    void SetMenuCaption(ObjectRef Target, std::string MenusFile);
    void SetTip(ObjectRef Target, std::string TipsFile);
    bool InVar(VariantArg Target, ArrayRef VarList);
    void AdjListColWid(ObjectRef Target);
    std::int32_t GetFilesQty(std::string Path);
    bool CheckShortcut(std::string Shortcut);
    std::string GetSysTempPath();
    std::string GetEnglishWeekday(std::int16_t WeekSN);
    std::string GetEnglishShortMonth(std::int16_t MonthSN);
};

} // namespace qfc
