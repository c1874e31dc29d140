// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GenFuns on Windows: the computations are shared (computations.cpp), the
// rest goes to the system through platform/windows.
#include "lib/frame/identities.h"
#include "lib/frame/unavailable_win32.h"
#include "lib/genfuns/genfuns.h"
#include "platform/windows/desktop.h"
#include "platform/windows/systemfolders.h"
#include "platform/windows/systemregistry.h"

namespace qfc
{

namespace
{

constexpr std::int32_t localMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::uint32_t regSz = 1;
constexpr std::uint32_t regExpandSz = 2;

} // namespace

QFC_CLASS_DEFINITION(GenFuns, QfcGenFuns, IID_GenFuns, "_GenFuns", QFC_GENFUNS_OPERATIONS)

std::string GenFuns::GetSysTempPath()
{
    // The setting as stored, with only %SystemRoot% put in by hand.
    const auto setting = mrb::platform::systemValue(
        localMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "TMP");
    if (!setting || (setting->type != regSz && setting->type != regExpandSz))
        return {};
    std::string path = setting->data.substr(0, setting->data.find('\0'));
    const std::string variable = "%SystemRoot%";
    const std::string windows = mrb::platform::environmentValue("WinDir").value_or("");
    for (auto at = path.find(variable); at != std::string::npos; at = path.find(variable, at + windows.size()))
        path.replace(at, variable.size(), windows);
    return path;
}

std::int32_t GenFuns::GetFilesQty(std::string Path)
{
    const auto first = Path.find_first_not_of(' ');
    if (first == std::string::npos)
        return -1;
    Path = Path.substr(first, Path.find_last_not_of(' ') - first + 1);
    return mrb::platform::filesBelow(Path, &mrb::platform::servePendingMessages);
}

std::string GenFuns::GetCharsetList()
{
    notYetAvailable("GenFuns.GetCharsetList");
}

bool GenFuns::CheckShortcut(std::string)
{
    notYetAvailable("GenFuns.CheckShortcut");
}

void GenFuns::SetMenuCaption(DispatchRef, std::string)
{
    notYetAvailable("GenFuns.SetMenuCaption");
}

void GenFuns::SetTip(DispatchRef, std::string)
{
    notYetAvailable("GenFuns.SetTip");
}

void GenFuns::AdjListColWid(DispatchRef)
{
    notYetAvailable("GenFuns.AdjListColWid");
}

} // namespace qfc
