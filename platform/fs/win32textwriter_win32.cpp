// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/win32textwriter_win32.h"

#include "platform/com/widestring_p.h"
#include "platform/fs/fileappend.h"
#include "platform/os/win32file.h"

#include <windows.h>

namespace mrb::platform
{

namespace
{

// The file made or emptied, then the bytes, in place.
WriteResult writeTruncated(const std::string &path, std::string_view bytes)
{
    const UniqueHandle file(CreateFileW(toWide(path).c_str(),
        GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr,
        CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL,
        nullptr));
    if (!file.isValid())
        return lastWin32Problem(path);
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &wrote, nullptr))
            return lastWin32Problem(path);
        bytes.remove_prefix(wrote);
    }
    if (!FlushFileBuffers(file.get()) && GetLastError() != ERROR_INVALID_FUNCTION)
        return lastWin32Problem(path);
    return {};
}

} // namespace

Win32TextWriter::Win32TextWriter(std::string path, WriteMode mode)
    : m_path(std::move(path))
    , m_mode(mode)
{
}

std::unique_ptr<TextWriter> Win32TextWriter::open(const std::string &path, WriteMode mode)
{
    auto writer = std::unique_ptr<Win32TextWriter>(new Win32TextWriter(path, mode));
    if (mode == WriteMode::Replace) {
        writer->m_safe = std::make_unique<SafeFile>(path);
        writer->m_result = writer->m_safe->status();
    }
    return writer;
}

bool Win32TextWriter::writeLine(std::string_view line)
{
    return write(line) && write("\r\n");
}

bool Win32TextWriter::write(std::string_view bytes)
{
    if (m_finished || !m_result.ok())
        return false;
    if (!m_safe) {
        m_kept.append(bytes);
        return true;
    }
    if (!m_safe->write(bytes))
        m_result = m_safe->status();
    return m_result.ok();
}

WriteResult Win32TextWriter::finish()
{
    if (m_finished)
        return m_result;
    m_finished = true;
    if (m_safe) {
        const WriteResult committed = m_safe->commit();
        if (m_result.ok())
            m_result = committed;
    } else if (m_result.ok()) {
        m_result = m_mode == WriteMode::Append ? appendToFile(m_path, m_kept) : writeTruncated(m_path, m_kept);
    }
    return m_result;
}

} // namespace mrb::platform
