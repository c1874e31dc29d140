// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GenFuns' operations on the caller's forms, the same in both builds: they
// reach the form only through its automation members.
#include "lib/genfuns/formhelpers.h"
#include "lib/genfuns/genfuns.h"

namespace qfc
{

void GenFuns::SetMenuCaption(DispatchRef Target, std::string MenusFile)
{
    setMenuCaptions(Target.get(), MenusFile);
}

void GenFuns::SetTip(DispatchRef Target, std::string TipsFile)
{
    setTips(Target.get(), TipsFile);
}

void GenFuns::AdjListColWid(DispatchRef Target)
{
    adjustListColumnWidths(Target.get());
}

} // namespace qfc
