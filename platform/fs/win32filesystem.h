// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <memory>

namespace mrb::platform
{

class Win32TypeNames;

// The file system of a Windows machine, through the wide Win32 calls.
//
// How entries are described:
// - attributes are the system's own bits (read-only, hidden, system,
//   directory, archive); a file is listed by FileNamePattern and left out
//   when it is hidden or system unless that switch is on, as on POSIX.
// - A reparse point (a symbolic link or a junction) is never followed below
//   the folder asked for: a folder one is listed and reported by walk but
//   never entered, so no walk loops; isSymlink marks it.
// - Sizes and dates come from the folder's listing itself; created is the
//   creation time. Type descriptions are the shell's ("Text Document"),
//   "Folder" for folders.
// - Paths longer than the classic limit are passed with the "\\?\" prefix.
class Win32FileSystem final : public FileSystem
{
public:
    Win32FileSystem();
    ~Win32FileSystem() override;

    std::vector<Drive> drives() override;
    // %USERPROFILE%.
    std::string homeFolder() override;
    std::optional<FsItem> folder(const std::string &path) override;
    std::optional<FsItem> file(const std::string &path) override;
    std::optional<std::uint64_t> folderSize(
        const std::string &path, std::vector<WalkError> *unreadable = nullptr) override;
    Result<> listFolder(const std::string &path,
        Entries entries,
        const FileListQuery &query,
        const std::function<void(const FsItem &)> &each) override;
    WalkResult walk(const std::string &root, TreeVisitor &visitor) override;
    bool folderExists(const std::string &path) override;
    bool fileExists(const std::string &path) override;
    bool createFolder(const std::string &path) override;
    bool deleteFile(const std::string &path, const DeleteScope &scope = {}) override;
    bool removeEmptyFolder(const std::string &path, const DeleteScope &scope = {}) override;
    std::unique_ptr<TextWriter> openTextWriter(const std::string &path, WriteMode mode) override;

private:
    std::unique_ptr<Win32TypeNames> m_types;
};

} // namespace mrb::platform
