// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/wholefile.h"
#include "platform/os/win32file.h"

#include <memory>
#include <windows.h>

namespace mrb::platform
{

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
