// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

#include <string>

namespace mrb::platform
{

// What the Win32 halves of platform/os and platform/fs share. A handle is a
// void pointer, so this header needs no windows.h.
using Win32Handle = void *;

// Owns a file handle: closed when it goes.
class UniqueHandle
{
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Win32Handle handle);
    ~UniqueHandle();
    UniqueHandle(UniqueHandle &&other) noexcept;
    UniqueHandle &operator=(UniqueHandle &&other) noexcept;
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;

    bool isValid() const;
    Win32Handle get() const { return m_handle; }
    void reset(Win32Handle handle = nullptr);

private:
    Win32Handle m_handle = nullptr;
};

// A failure the system reported by its error code (GetLastError): the
// system's own words and the nearest errno value, so callers that tell
// "exists" from "not found" or "denied" need no Windows numbers.
Problem win32Problem(std::string path, unsigned long code);
// The same for the calling thread's last error.
Problem lastWin32Problem(std::string path);

// Everything from the handle's position to its end; path names the file in
// a failure. More than maxBytes fails with "larger than N MiB" (EFBIG).
Result<std::string> readToEnd(Win32Handle handle, const std::string &path, std::uint64_t maxBytes);

// A regular file opened for reading, or why it may not be read: "Is a
// directory" (EISDIR) for a folder, "not a regular file" for a device, a pipe
// or a console. Others may go on reading, writing, renaming and deleting it
// meanwhile, as on Linux.
Result<UniqueHandle> openRegularFile(const std::string &path);

} // namespace mrb::platform
