// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/fs/filesystem.h"
#include "platform/fs/scratchname.h"
#include "platform/os/failurelog.h"
#include "platform/os/win32file.h"

#include <mutex>
#include <random>
#include <windows.h>

namespace mrb::platform
{

std::string randomNameTag()
{
    static std::mutex mutex;
    static std::mt19937 random(std::random_device {}());
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::lock_guard lock(mutex);
    std::string tag;
    for (int i = 0; i < 6; ++i)
        tag += letters[random() % (sizeof letters - 1)];
    return tag;
}

ScratchName::ScratchName(const std::string &target)
{
    const std::string leaf(nameOf(target));
    const std::size_t dot = leaf.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : leaf.substr(dot);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = joinPath(parentPathOf(target), "." + leaf + "." + randomNameTag() + extension);
        if (::GetFileAttributesW(toWide(name).c_str()) == INVALID_FILE_ATTRIBUTES
            && ::GetLastError() == ERROR_FILE_NOT_FOUND) {
            m_name = std::move(name);
            return;
        }
    }
}

ScratchName::~ScratchName()
{
    if (!m_name.empty() && !::DeleteFileW(toWide(m_name).c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        // Ignored on purpose: the output is in place; a hidden leftover is all that stays.
        logIgnoredFailure("removing a scratch file", lastWin32Problem(m_name));
}

} // namespace mrb::platform
