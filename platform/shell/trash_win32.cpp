// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The trash on Windows is the system's recycle bin (shell32).
#include "platform/com/widestring_p.h"
#include "platform/shell/trash.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace mrb::platform
{

namespace
{

// A drive as shell32 takes it: none at all for every drive.
std::wstring driveOf(const std::string &drive)
{
    return toWide(drive);
}

} // namespace

TrashSummary queryTrash(const std::string &drive)
{
    const std::wstring root = driveOf(drive);
    SHQUERYRBINFO info {};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(root.empty() ? nullptr : root.c_str(), &info)))
        return {};
    return {static_cast<std::uint64_t>(info.i64NumItems), static_cast<std::uint64_t>(info.i64Size)};
}

void emptyTrash(const std::string &drive)
{
    const std::wstring root = driveOf(drive);
    SHEmptyRecycleBinW(
        nullptr, root.empty() ? nullptr : root.c_str(), SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

Result<> moveToTrash(const std::string &path)
{
    // A list of one name: the name, its NUL and the list's.
    std::wstring from = toWide(path);
    from.append(2, L'\0');
    SHFILEOPSTRUCTW operation {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int status = SHFileOperationW(&operation);
    if (status != 0 || operation.fAnyOperationsAborted)
        return Problem {path, "the recycle bin refused it (" + std::to_string(status) + ")", 0};
    return {};
}

} // namespace mrb::platform
