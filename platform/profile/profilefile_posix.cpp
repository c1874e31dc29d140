// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/safefile.h"
#include "platform/os/wholefile.h"
#include "platform/profile/profilefile.h"

#include <cerrno>
#include <sys/stat.h>

namespace mrb::platform
{

std::string readProfileString(const std::string &file, std::string_view section, std::string_view key)
{
    const Result<std::string> text = readWholeFile(file, maxProfileBytes);
    return text ? profileStringIn(*text, section, key) : std::string();
}

WriteResult writeProfileString(
    const std::string &file, std::string_view section, std::string_view key, std::string_view value)
{
    return writeProfileStrings(file, {ProfileEntry {std::string(section), std::string(key), std::string(value)}});
}

WriteResult writeProfileStrings(const std::string &file, const std::vector<ProfileEntry> &entries)
{
    const auto failure = [&file](std::string reason) { return WriteResult::failure(file, std::move(reason)); };
    if (!profileTextWith("", entries))
        return failure("a name or value that cannot be written");
    // Looked at before the write opens it: a FIFO or a device is not a
    // profile file, and opening one for writing could wait for ever.
    struct stat st {
    };
    if (::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? WriteResult(systemProblem(file, EISDIR)) : failure("not a regular file");

    // The lock sits on the folder of the file, not on the file: a replaced
    // file is a new one, and a lock on the old one would not stop a writer
    // that opens the new one. Every writer of this module takes it before
    // reading, so concurrent writers never lose one another's keys.
    SafeFile out(file, SafeFileOptions {FolderLock::Exclusive});
    if (!out.status().ok())
        return out.status();

    const Result<std::string> text = readWholeFile(file, maxProfileBytes);
    const bool exists = text.ok();
    if (!exists && text.errorNumber() != ENOENT)
        return text.problem();
    // A read-only file refuses the write, for root too.
    if (exists && (::stat(file.c_str(), &st) != 0 || (st.st_mode & S_IWUSR) == 0))
        return systemProblem(file, EACCES);

    const std::string old = exists ? *text : std::string();
    const std::optional<std::string> updated = profileTextWith(old, entries);
    if (exists && *updated == old)
        return {};
    out.write(*updated);
    return out.commit();
}

} // namespace mrb::platform
