// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/fs/contentlock_win32_p.h"
#include "platform/fs/filerewrite.h"
#include "platform/fs/safefile.h"
#include "platform/os/wholefile.h"
#include "platform/os/win32file.h"

#include <windows.h>

namespace mrb::platform
{

WriteResult rewriteFile(const std::string &path, const Rewrite &change)
{
    const std::wstring name = toWide(path);
    for (;;) {
        // Others may still read, and the new file may take the name, while
        // we hold the lock on this one.
        Result<UniqueHandle> file = openRegularFile(path);
        if (!file)
            return file.problem();
        if (!lockContent(file->get(), true))
            return lastWin32Problem(path);
        if (!sameFileAsName(file->get(), name))
            continue; // another rewrite finished while we waited: read its file
        Result<std::string> old = readToEnd(file->get(), path, noSizeLimit);
        if (!old)
            return old.problem();
        const std::optional<std::string> next = change(*old);
        if (!next)
            return {};
        return writeFileSafely(path, *next, {.replaceReadOnly = true});
    }
}

} // namespace mrb::platform
