// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/genfuns.h"

#include "lib/common/codepages.h"
#include "lib/frame/identities.h"
#include "lib/genfuns/filecount.h"
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

} // namespace qfc
