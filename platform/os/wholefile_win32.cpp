// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/wholefile.h"
#include "platform/os/win32file.h"

#include <memory>
#include <windows.h>

namespace mrb::platform
{

namespace
{

// The file opened for reading, or why it may not be read. Others may go on
// reading, writing, renaming and deleting it meanwhile, as on Linux. A folder
// opens too (backup semantics), so it is told apart from a missing file.
Result<UniqueHandle> openRegularFile(const std::string &path)
{
    UniqueHandle file(::CreateFileW(toWide(path).c_str(),
        GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr,
        OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS,
        nullptr));
    if (!file.isValid())
        return lastWin32Problem(path);
    if (Result<> regular = checkRegularFile(file.get(), path); !regular)
        return regular.problem();
    return file;
}

} // namespace

Result<std::string> readWholeFile(const std::string &path, std::uint64_t maxBytes)
{
    Result<UniqueHandle> file = openRegularFile(path);
    if (!file)
        return file.problem();
    return readToEnd(file->get(), path, maxBytes);
}

Result<> readFileInChunks(const std::string &path, const std::function<bool(std::string_view)> &consume)
{
    Result<UniqueHandle> file = openRegularFile(path);
    if (!file)
        return file.problem();
    const std::unique_ptr<char[]> buffer(new char[fileChunkSize]);
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file->get(), buffer.get(), fileChunkSize, &n, nullptr))
            return lastWin32Problem(path);
        if (n == 0 || !consume(std::string_view(buffer.get(), n)))
            return {};
    }
}

} // namespace mrb::platform
