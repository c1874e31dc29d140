// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/os/win32file.h"

#include <cerrno>
#include <utility>
#include <windows.h>

namespace mrb::platform
{

UniqueHandle::UniqueHandle(Win32Handle handle)
    : m_handle(handle)
{
}

UniqueHandle::~UniqueHandle()
{
    reset();
}

UniqueHandle::UniqueHandle(UniqueHandle &&other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
{
}

UniqueHandle &UniqueHandle::operator=(UniqueHandle &&other) noexcept
{
    if (this != &other)
        reset(std::exchange(other.m_handle, nullptr));
    return *this;
}

bool UniqueHandle::isValid() const
{
    return m_handle && m_handle != INVALID_HANDLE_VALUE;
}

void UniqueHandle::reset(Win32Handle handle)
{
    if (isValid())
        ::CloseHandle(m_handle);
    m_handle = handle;
}

namespace
{

int errnoOf(unsigned long code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    default:
        return EIO;
    }
}

std::string messageOf(unsigned long code)
{
    wchar_t *text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr,
            code,
            0,
            reinterpret_cast<wchar_t *>(&text),
            0,
            nullptr);
    std::wstring message(text ? text : L"", length);
    ::LocalFree(text);
    // The system's text ends with a full stop and a line break; ours do not.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : fromWide(message);
}

constexpr std::uint64_t mebibyte = 1024 * 1024;

std::string tooLargeText(std::uint64_t maxBytes)
{
    return maxBytes % mebibyte == 0 ? "larger than " + std::to_string(maxBytes / mebibyte) + " MiB"
                                    : "larger than " + std::to_string(maxBytes) + " bytes";
}

} // namespace

Problem win32Problem(std::string path, unsigned long code)
{
    return Problem {std::move(path), messageOf(code), errnoOf(code)};
}

Problem lastWin32Problem(std::string path)
{
    return win32Problem(std::move(path), ::GetLastError());
}

Result<std::string> readToEnd(Win32Handle handle, const std::string &path, std::uint64_t maxBytes)
{
    LARGE_INTEGER size {};
    std::string bytes(::GetFileSizeEx(handle, &size) && size.QuadPart > 0 ? size.QuadPart + 1 : 4096, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        DWORD n = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - used, 1u << 30));
        if (!::ReadFile(handle, bytes.data() + used, ask, &n, nullptr))
            return lastWin32Problem(path);
        if (n == 0)
            break;
        used += n;
        if (used > maxBytes)
            return Problem {path, tooLargeText(maxBytes), EFBIG};
    }
    bytes.resize(used);
    return bytes;
}

namespace
{

Result<> checkRegularFile(Win32Handle handle, const std::string &path)
{
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        return Problem {path, "not a regular file", 0};
    BY_HANDLE_FILE_INFORMATION info {};
    if (!::GetFileInformationByHandle(handle, &info))
        return lastWin32Problem(path);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Problem {path, "Is a directory", EISDIR};
    return {};
}

} // namespace

Result<UniqueHandle> openRegularFile(const std::string &path)
{
    // A folder opens too (backup semantics), so it is told apart from a
    // missing file.
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

} // namespace mrb::platform
