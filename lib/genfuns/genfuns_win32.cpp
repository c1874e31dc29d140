// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GenFuns on Windows: the computations are shared (computations.cpp), the
// rest goes to the system through platform/windows.
#include "lib/common/codepages.h"
#include "lib/frame/identities.h"
#include "lib/genfuns/genfuns.h"
#include "lib/registry/namelists.h"
#include "platform/windows/desktop.h"
#include "platform/windows/shellactions.h"
#include "platform/windows/systemfolders.h"
#include "platform/windows/systemregistry.h"

#include <cstdlib>

namespace qfc
{

namespace
{

constexpr std::int32_t classesRoot = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t localMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::size_t mostCodePages = 32767;
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
    const auto pages = mrb::platform::systemSubKeyNames(classesRoot, codePageKey);
    if (!pages)
        return {};
    // Descriptions that refer to a string resource ("@%windir%\...\mlang.dll,-NNNN")
    // are read from the system's language-support library, whichever library they name.
    const std::int32_t mlang = mrb::platform::loadResourceLibrary(
        mrb::platform::environmentValue("WinDir").value_or("") + "\\system32\\mlang.dll");
    std::string list;
    std::size_t listed = 0;
    for (const std::string &page : listedNames(*pages)) {
        if (++listed > mostCodePages)
            break;
        const std::string key = std::string(codePageKey) + "\\" + page;
        auto text = [&](const char *name) {
            const auto value = mrb::platform::systemValue(classesRoot, key, name);
            return value && value->type == regSz ? value->data.substr(0, value->data.find('\0')) : std::string();
        };
        std::string description = text("Description");
        if (description.starts_with("@%")) {
            std::string lower = description;
            for (char &c : lower)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            const auto at = lower.find(".dll,");
            const long number = at == std::string::npos ? 0 : std::strtol(lower.c_str() + at + 5, nullptr, 10);
            description = mrb::platform::resourceLibraryString(mlang, static_cast<std::int32_t>(std::labs(number)));
        }
        list += text("BodyCharset") + " | " + description + " || ";
    }
    mrb::platform::unloadResourceLibrary(mlang);
    if (list.size() >= 4)
        list.resize(list.size() - 4);
    return list;
}

bool GenFuns::CheckShortcut(std::string Shortcut)
{
    const auto target = mrb::platform::shortcutTarget(Shortcut);
    return target && mrb::platform::pathExists(*target);
}

} // namespace qfc
