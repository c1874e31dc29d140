// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// SafeFile on Windows: a new file beside the name put in its place with
// ReplaceFileW (which keeps the old file's attributes, security and creation
// time) or MoveFileExW; in place for files with several names and devices.
#include "platform/com/widestring_p.h"
#include "platform/fs/safefile.h"
#include "platform/fs/scratchname.h"
#include "platform/os/wholefile.h"
#include "platform/os/win32file.h"

#include <cerrno>
#include <mutex>
#include <set>
#include <windows.h>

namespace mrb::platform
{

namespace
{

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Our temporary files not yet renamed, for removeTemporaries().
struct Temporaries {
    std::mutex mutex;
    std::set<std::wstring> names;
};

Temporaries &temporaries()
{
    static Temporaries *all = new Temporaries; // outlives every SafeFile, also at exit
    return *all;
}

BOOL WINAPI removeOnConsoleEvent(DWORD)
{
    SafeFile::removeTemporaries();
    return FALSE; // and end as the event would have
}

std::wstring folderOf(const std::wstring &path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring leafOf(const std::wstring &path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The name a link at the end of path leads to, or path itself.
std::wstring linkTarget(const std::wstring &path, Win32Handle opened)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(opened, target.data(), static_cast<DWORD>(target.size()), 0);
        if (n == 0)
            return path;
        if (n < target.size()) {
            target.resize(n);
            return target;
        }
        target.resize(n + 1);
    }
}

bool writeAll(Win32Handle file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(file, bytes.data(), ask, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

class SafeFile::Impl
{
public:
    Impl(std::string path, SafeFileOptions options)
        : m_path(std::move(path))
        , m_options(options)
    {
        const std::wstring name = toWide(m_path);
        if (m_options.existing == Existing::Refuse)
            claimName(name);
        else
            openForReplace(name);
    }

    ~Impl()
    {
        if (!m_done)
            abandon();
    }

    std::string m_path;
    SafeFileOptions m_options;
    WriteResult m_status;
    UniqueHandle m_out;
    std::wstring m_target; // the name the bytes end up under
    std::wstring m_temporary; // our new file beside it, when there is one
    bool m_inPlace = false;
    bool m_claimed = false; // Existing::Refuse: the file under the name is ours
    bool m_regularInPlace = false;
    std::string m_oldBytes; // what a file written in place held, to put back
    DWORD m_oldAttributes = INVALID_FILE_ATTRIBUTES;
    bool m_done = false;
    WriteResult m_result;

    void fail(Problem problem)
    {
        if (m_status.ok())
            m_status = problem;
    }

    void claimName(const std::wstring &name)
    {
        m_target = name;
        m_out.reset(::CreateFileW(
            name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!m_out.isValid()) {
            const DWORD code = ::GetLastError();
            const DWORD attributes = ::GetFileAttributesW(name.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                fail(Problem {m_path, "Is a directory", EISDIR});
            else if (attributes != INVALID_FILE_ATTRIBUTES)
                fail(Problem {m_path, "File exists", EEXIST});
            else
                fail(win32Problem(m_path, code));
            return;
        }
        m_claimed = true;
        m_inPlace = true;
    }

    void openForReplace(const std::wstring &name)
    {
        // What the name leads to, links followed.
        UniqueHandle existing(
            ::CreateFileW(name.c_str(), 0, shareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!existing.isValid()) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_FILE_NOT_FOUND)
                return fail(win32Problem(m_path, code));
            m_target = name;
            return openTemporary();
        }
        if (::GetFileType(existing.get()) != FILE_TYPE_DISK)
            return openDevice(name);
        BY_HANDLE_FILE_INFORMATION info {};
        if (!::GetFileInformationByHandle(existing.get(), &info))
            return fail(lastWin32Problem(m_path));
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return fail(Problem {m_path, "Is a directory", EISDIR});
        m_target = linkTarget(name, existing.get());
        m_oldAttributes = info.dwFileAttributes;
        const bool readOnly = info.dwFileAttributes & FILE_ATTRIBUTE_READONLY;
        if (info.nNumberOfLinks > 1) {
            // Every name must see the new content: written in place, which a
            // read-only file never is.
            if (readOnly)
                return fail(win32Problem(m_path, ERROR_ACCESS_DENIED));
            return openInPlace();
        }
        if (readOnly && !m_options.replaceReadOnly)
            return fail(win32Problem(m_path, ERROR_ACCESS_DENIED));
        openTemporary();
    }

    void openDevice(const std::wstring &name)
    {
        m_out.reset(::CreateFileW(
            name.c_str(), GENERIC_WRITE, shareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!m_out.isValid())
            return fail(lastWin32Problem(m_path));
        m_inPlace = true;
    }

    void openInPlace()
    {
        m_out.reset(::CreateFileW(m_target.c_str(),
            GENERIC_READ | GENERIC_WRITE,
            shareAll,
            nullptr,
            OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL,
            nullptr));
        if (!m_out.isValid())
            return fail(lastWin32Problem(m_path));
        Result<std::string> old = readToEnd(m_out.get(), m_path, noSizeLimit);
        if (!old)
            return fail(old.problem());
        m_oldBytes = std::move(*old);
        if (::SetFilePointer(m_out.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
            return fail(lastWin32Problem(m_path));
        m_inPlace = true;
        m_regularInPlace = true;
    }

    void openTemporary()
    {
        // Hidden beside the target, on its volume, so the rename is atomic.
        const std::wstring folder = folderOf(m_target);
        const std::wstring leaf = leafOf(m_target);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring name = folder + L"." + leaf + L"." + toWide(randomNameTag());
            {
                std::lock_guard lock(temporaries().mutex);
                m_out.reset(::CreateFileW(name.c_str(),
                    GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr,
                    CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL,
                    nullptr));
                if (m_out.isValid()) {
                    temporaries().names.insert(name);
                    m_temporary = std::move(name);
                    return;
                }
            }
            if (::GetLastError() != ERROR_FILE_EXISTS)
                return fail(lastWin32Problem(m_path));
        }
        fail(win32Problem(m_path, ERROR_FILE_EXISTS));
    }

    bool write(std::string_view bytes)
    {
        if (!m_status.ok() || m_done)
            return false;
        if (!writeAll(m_out.get(), bytes)) {
            fail(lastWin32Problem(m_path));
            return false;
        }
        return true;
    }

    WriteResult commit()
    {
        if (m_done)
            return m_result;
        m_done = true;
        m_result = finish();
        if (!m_result.ok())
            abandon();
        return m_result;
    }

    WriteResult finish()
    {
        if (!m_status.ok())
            return m_status;
        if (m_regularInPlace && !::SetEndOfFile(m_out.get()))
            return lastWin32Problem(m_path);
        if (::GetFileType(m_out.get()) == FILE_TYPE_DISK && !::FlushFileBuffers(m_out.get()))
            return lastWin32Problem(m_path);
        m_out.reset();
        if (m_temporary.empty()) {
            m_claimed = false;
            m_regularInPlace = false;
            return {};
        }
        if (WriteResult placed = putInPlace(); !placed.ok())
            return placed;
        forgetTemporary();
        return {};
    }

    WriteResult putInPlace()
    {
        if (m_oldAttributes == INVALID_FILE_ATTRIBUTES) {
            if (::MoveFileExW(
                    m_temporary.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return {};
            return lastWin32Problem(m_path);
        }
        // A read-only file (the caller asked for it) is replaced and read-only again.
        const bool readOnly = m_oldAttributes & FILE_ATTRIBUTE_READONLY;
        if (readOnly)
            ::SetFileAttributesW(m_target.c_str(), m_oldAttributes & ~FILE_ATTRIBUTE_READONLY);
        const bool replaced = ::ReplaceFileW(
            m_target.c_str(), m_temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        const DWORD code = ::GetLastError();
        if (readOnly)
            ::SetFileAttributesW(m_target.c_str(), m_oldAttributes);
        return replaced ? WriteResult() : win32Problem(m_path, code);
    }

    void forgetTemporary()
    {
        std::lock_guard lock(temporaries().mutex);
        temporaries().names.erase(m_temporary);
        m_temporary.clear();
    }

    void abandon()
    {
        m_done = true;
        if (m_regularInPlace && m_out.isValid()) {
            // The old bytes back, as they were.
            ::SetFilePointer(m_out.get(), 0, nullptr, FILE_BEGIN);
            if (!writeAll(m_out.get(), m_oldBytes) || !::SetEndOfFile(m_out.get()))
                m_result = WriteResult::failure(
                    m_path, m_result.reason() + "; the file may be incomplete", m_result.errorNumber());
        }
        m_out.reset();
        if (m_claimed)
            ::DeleteFileW(m_target.c_str());
        if (!m_temporary.empty()) {
            ::DeleteFileW(m_temporary.c_str());
            forgetTemporary();
        }
    }
};

SafeFile::SafeFile(std::string path, SafeFileOptions options)
    : m_impl(std::make_unique<Impl>(std::move(path), options))
{
}

SafeFile::~SafeFile() = default;

const WriteResult &SafeFile::status() const
{
    return m_impl->m_status;
}

bool SafeFile::writesInPlace() const
{
    return m_impl->m_inPlace;
}

bool SafeFile::write(std::string_view bytes)
{
    return m_impl->write(bytes);
}

WriteResult SafeFile::commit()
{
    return m_impl->commit();
}

void SafeFile::removeTemporariesOnSignals()
{
    ::SetConsoleCtrlHandler(removeOnConsoleEvent, TRUE);
}

void SafeFile::removeTemporaries() noexcept
{
    std::lock_guard lock(temporaries().mutex);
    for (const std::wstring &name : temporaries().names)
        ::DeleteFileW(name.c_str());
    temporaries().names.clear();
}

WriteResult writeFileSafely(const std::string &path, std::string_view bytes, SafeFileOptions options)
{
    SafeFile file(path, options);
    file.write(bytes);
    return file.commit();
}

} // namespace mrb::platform
