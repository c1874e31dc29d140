// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace mrb::platform
{

// An in-memory file system for tests. Items carry exactly the attribute value
// a test gives them (a hidden system folder 22, a hidden archived folder 50),
// so the rules above the platform can be tried with values a real Linux file
// system never produces. Paths are absolute, "/" separated; adding an item
// creates its missing parent folders (attributes 16). Hidden and system are
// read from the attribute bits; a folder added with isSymlink is listed but
// never entered by walk or folderSize. Text writers write into an in-memory
// map that tests read with contents().
class FakeFileSystem final : public FileSystem
{
public:
    FakeFileSystem();
    ~FakeFileSystem() override;

    // Adds (or replaces) an item and returns it for further changes (dates,
    // type, isSymlink). The defaults: folders 16, files 32 (archive).
    FsItem &addFolder(const std::string &path, std::uint32_t attributes = Directory);
    FsItem &addFile(const std::string &path, std::uint64_t size = 0, std::uint32_t attributes = Archive);
    // A folder that exists but whose contents cannot be read.
    void setUnreadable(const std::string &path, bool unreadable = true);
    void addDrive(Drive drive);
    void setHomeFolder(std::string path) { m_home = std::move(path); }
    // The next writer opened on path fails at finish() with reason.
    void failWritesTo(const std::string &path, std::string reason);

    // What writers left in a file ("" for a file added with addFile), or nothing.
    std::optional<std::string> contents(const std::string &path) const;
    void setContents(const std::string &path, std::string bytes);
    bool exists(const std::string &path) const;

    std::vector<Drive> drives() override;
    std::string homeFolder() override { return m_home; }
    std::optional<FsItem> folder(const std::string &path) override;
    std::optional<FsItem> file(const std::string &path) override;
    std::optional<std::uint64_t> folderSize(
        const std::string &path, std::vector<WalkError> *unreadable = nullptr) override;
    SubFolders subFolders(const std::string &path) override;
    FileList fileList(const std::string &path, const FileListQuery &query) override;
    std::vector<FsItem> files(const std::string &path, const FileListQuery &query) override;
    WalkResult walk(const std::string &root, TreeVisitor &visitor) override;
    bool folderExists(const std::string &path) override;
    bool fileExists(const std::string &path) override;
    bool createFolder(const std::string &path) override;
    bool deleteFile(const std::string &path, const DeleteScope &scope = {}) override;
    bool removeEmptyFolder(const std::string &path, const DeleteScope &scope = {}) override;
    std::unique_ptr<TextWriter> openTextWriter(const std::string &path, WriteMode mode) override;

private:
    struct Node {
        FsItem item;
        std::string contents;
        bool unreadable = false;
    };
    class Writer;

    Node *find(const std::string &path);
    const Node *find(const std::string &path) const;
    Node &ensureFolder(const std::string &path);
    std::vector<const Node *> children(const std::string &folderPath) const;
    // depth: of folder below the walk's root (0 for the root itself).
    std::uint64_t totalBelow(const Node &folder,
        TreeVisitor *visitor,
        WalkResult &result,
        std::size_t depth = 0,
        std::vector<WalkError> *errors = nullptr);

    std::map<std::string, Node> m_nodes; // by normalized full path
    std::vector<Drive> m_drives;
    std::string m_home;
    std::map<std::string, std::string> m_writeFailures;
};

} // namespace mrb::platform
