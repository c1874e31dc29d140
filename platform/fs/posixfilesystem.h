// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <memory>

namespace mrb::platform
{

namespace posix
{
class TypeDescriber;
}

// The file system of a POSIX machine (Linux).
//
// Every folder is read through an open descriptor and every entry looked at
// relative to it, so paths longer than PATH_MAX and folders of any size work.
//
// How entries are described:
// - hidden: the name begins with "."; system: a FIFO, socket or device (never
//   a folder, never a symbolic link); read-only: the owner may not write;
//   directory 16. The archive bit is never set, so a hidden folder is 18.
// - A symbolic link is described as what it leads to (isSymlink set): a link
//   to a folder is a folder, listed among the folders and by walk but never entered
//   below the folder asked for. A link that leads nowhere (dangling, a loop)
//   is a file described by the link itself.
// - Sizes of links: a row and a folder total both count what the link leads
//   to (a file's length; nothing for a folder; the link's own length when it
//   leads nowhere). A file reached twice in one walk, through a link or a
//   hard link, counts once in the totals.
// - Dates: created is the birth time where the file system keeps one (a
//   birth time of 0 counts as none).
// - Type descriptions come from the MIME database by extension (see
//   posix::TypeDescriber): "Folder" for folders.
// - Files are listed by FileNamePattern; a file that is hidden or system is
//   left out unless its switch is on. Lists have no length limit.
// - createFolder creates missing parent folders too.
class PosixFileSystem final : public FileSystem
{
public:
    PosixFileSystem();
    ~PosixFileSystem() override;

    std::vector<Drive> drives() override;
    // $HOME when it names a folder, else the account's home folder.
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
    std::string kindOf(const std::string &path) override;
    bool createFolder(const std::string &path) override;
    bool deleteFile(const std::string &path, const DeleteScope &scope = {}) override;
    bool removeEmptyFolder(const std::string &path, const DeleteScope &scope = {}) override;
    std::unique_ptr<TextWriter> openTextWriter(const std::string &path, WriteMode mode) override;

private:
    std::unique_ptr<posix::TypeDescriber> m_types;
};

// An absolute path as a user means it: "." elements and double slashes gone,
// and each ".." taken back together with the element before it when that
// element is a folder and not a symbolic link. After a link (or an element
// that does not exist) ".." stays, since there the system would lead
// elsewhere than the text says.
std::string withDotsResolved(std::string_view absolutePath);

} // namespace mrb::platform
