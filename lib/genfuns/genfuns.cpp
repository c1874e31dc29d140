// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/genfuns.h"

#include "lib/common/codepages.h"
#include "lib/frame/identities.h"
#include "lib/genfuns/filecount.h"
#include "lib/genfuns/formhelpers.h"
#include "lib/genfuns/shortcut.h"
#include "lib/registry/registrykeys.h"
#include "platform/os/pathkind.h"
#include "platform/variant/value.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace qfc
{

namespace
{

constexpr std::int32_t classesRoot = static_cast<std::int32_t>(0x80000000u);
constexpr std::size_t mostCodePages = 32767;

// The caller's event loop, when the calling thread runs one, gets to handle
// what is pending.
void serveEvents()
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        QCoreApplication::processEvents();
}

} // namespace

QFC_CLASS_DEFINITION(GenFuns, QfcGenFuns, IID_GenFuns, "_GenFuns", QFC_GENFUNS_OPERATIONS)

bool GenFuns::InVar(VariantArg Target, SafeArrayRef VarList)
{
    return mrb::platform::inVar(Target.value(), mrb::platform::valuesOf(VarList.get()));
}

std::string GenFuns::GetCharsetList()
{
    const auto table = readRegistryKey(classesRoot, codePageKey);
    if (!table)
        return {};
    std::string list;
    std::size_t listed = 0;
    for (const std::string &name : listedNames(table->subKeyNames())) {
        if (++listed > mostCodePages)
            break;
        const auto *page = table->find(name);
        auto text = [&](const char *value) {
            const auto *v = page ? page->value(value) : nullptr;
            return v ? registryValueText(*v) : std::string();
        };
        // A description that refers to a resource of another library stays as read.
        list += text("BodyCharset") + " | " + text("Description") + " || ";
    }
    if (list.size() >= 4)
        list.resize(list.size() - 4);
    return list;
}

std::string GenFuns::LongToHTMLColor(std::int32_t Color)
{
    // Signed division truncating towards zero, as the colour's parts are taken.
    const int red = Color & 0xFF;
    const int green = (Color / 256) & 0xFF;
    const int blue = (Color / 65536) & 0xFF;
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return text;
}

std::int32_t GenFuns::GetFilesQty(std::string Path)
{
    const auto first = Path.find_first_not_of(' ');
    if (first == std::string::npos)
        return -1;
    Path = Path.substr(first, Path.find_last_not_of(' ') - first + 1);
    return countFiles(Path, &serveEvents);
}

bool GenFuns::CheckShortcut(std::string Shortcut)
{
    return shortcutTargetExists(Shortcut);
}

std::string GenFuns::GetSysTempPath()
{
    // The system-wide temporary folder, whatever the user's $TMPDIR says.
    return mrb::platform::pathKindOf("/tmp") == mrb::platform::PathKind::Folder ? std::string("/tmp") : std::string();
}

std::string GenFuns::GetEnglishWeekday(std::int16_t WeekSN)
{
    static const char *const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return WeekSN >= 1 && WeekSN <= 7 ? days[WeekSN - 1] : "";
}

std::string GenFuns::GetEnglishShortMonth(std::int16_t MonthSN)
{
    static const char *const months[] = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return MonthSN >= 1 && MonthSN <= 12 ? months[MonthSN - 1] : "";
}

// ---- the caller's forms and controls ----------------------------------------

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
