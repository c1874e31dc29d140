// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/writeresult.h"
#include "platform/os/result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// The attribute bits every platform reports the same way.
enum Attribute : std::uint32_t {
    ReadOnly = 1,
    Hidden = 2,
    System = 4,
    Directory = 16,
    Archive = 32,
};

// Seconds since the Unix epoch; empty when the file system keeps no such time.
using Timestamp = std::optional<std::int64_t>;

// One file or folder as the file system describes it. Names and paths are the
// exact bytes the file system returned (not necessarily valid UTF-8).
struct FsItem {
    std::string name;
    std::string path; // full path, no trailing separator except for a root ("/")
    std::string parentPath; // full path of the folder holding it ("/" for items at the root)
    std::uint32_t attributes = 0;
    std::string type; // type description ("Folder" for folders)
    Timestamp created;
    Timestamp modified;
    Timestamp accessed;
    std::uint64_t size = 0; // length of a file; 0 for a folder (see FileSystem::folderSize)
    bool isFolder = false;
    bool isSymlink = false; // a symbolic link, described as what it points to
    // The identity of what is described (the target of a working link): the
    // same file keeps it across renames and moves within its volume.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

struct Drive {
    std::string path; // tree key: the mount path ("/", "/home", "/media/usb")
    std::string label; // the file system's label; empty when it has none
    std::string shareName; // source of a network mount ("//server/share", "host:/export")
    bool isNetwork = false;
};

// The file list of one folder: matching file names, sorted by name.
struct FileListQuery {
    std::string pattern = "*.*"; // one or more patterns separated by ";"
    bool includeHidden = false;
    bool includeSystem = false;
};

// A folder below the root of a walk that could not be read.
struct WalkError {
    std::string path;
    std::size_t depth = 0; // 1 for a folder directly inside the root
    std::string reason; // as the system words it ("Permission denied")
};

// Where a deletion may reach. The path trusted is resolved as usual; every
// folder below it on the way to the item is entered without following links,
// so a folder swapped for a link meanwhile is never passed through. Empty:
// the item's own folder is trusted. keep names a file that is never deleted
// (the output just written), whatever path leads to it; empty for none.
struct DeleteScope {
    std::string trusted;
    std::string keep;
};

// Receives a depth-first walk below one folder (see FileSystem::walk). For each
// folder: enterFolder, then its files sorted by name, then each sub-folder's walk
// (sub-folders sorted by name), then leaveFolder with the folder's total size.
class TreeVisitor
{
public:
    virtual ~TreeVisitor() = default;
    virtual void enterFolder(const FsItem &folder) = 0;
    virtual void file(const FsItem &file) = 0;
    // total: the lengths of everything below the folder, at every depth.
    virtual void leaveFolder(const FsItem &folder, std::uint64_t total) = 0;
    // A folder below the root that could not be read; the walk skips it and goes on.
    virtual void unreadableFolder(const WalkError &error) = 0;
    // Asked once per folder before it is entered, and every few hundredths of
    // a second while the walk waits for a folder being read; false ends the
    // walk early.
    virtual bool keepGoing() { return true; }
};

struct WalkResult {
    bool rootReadable = false;
    std::uint64_t total = 0; // the root folder's total size
    std::size_t unreadableFolders = 0;
    std::string rootReason; // why the root could not be read, when it could not
    bool stopped = false; // keepGoing() answered false; totals are incomplete
};

enum class WriteMode {
    Truncate, // create the file, or empty it when it exists
    Append, // create the file, or add at its end
    Replace, // the whole file, written safely (platform/fs/safefile.h); finish() completes it
};

// A line-oriented output file. Bytes are written as given (the core holds UTF-8).
// After the first failure (of the opening or of a write) nothing more is
// written and every write returns false.
class TextWriter
{
public:
    virtual ~TextWriter() = default; // without finish(), a replacement is discarded
    virtual bool writeLine(std::string_view line) = 0; // the line, then CR LF
    virtual bool write(std::string_view bytes) = 0;
    // Flushes and closes (and completes a Replace). The first failure of the
    // opening, of any write or of the close, with the path; later calls give
    // the same result.
    virtual WriteResult finish() = 0;
};

// All file-system access of the program and the library goes through here.
// Paths are in the system's own form: "/" separates on POSIX, "\" (or "/")
// on Windows, where a root is a drive's ("C:\"). No operation throws for an I/O failure.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual std::vector<Drive> drives() = 0;
    // The user's home folder; empty when there is none to show.
    virtual std::string homeFolder() { return {}; }

    // The item at path (following a final symbolic link), or nothing when it
    // does not exist or is of the other kind. A symbolic link that leads
    // nowhere is a file, described by the link itself.
    virtual std::optional<FsItem> folder(const std::string &path) = 0;
    virtual std::optional<FsItem> file(const std::string &path) = 0;

    // Total length of everything below the folder, hidden and system files
    // included, in one walk. Every entry counts the size its row shows: a
    // symbolic link to a file counts that file's length, one that leads
    // nowhere its own length, one to a folder nothing (it is never descended
    // through below the folder); a file reached more than once (through links
    // or hard links) counts once. The folder asked for is followed when it is
    // itself a link. Sub-folders that cannot be read count nothing. Nothing
    // when the folder itself cannot be read. unreadable, when given, receives
    // each folder the total leaves out because it could not be read (the
    // folder itself at depth 0).
    virtual std::optional<std::uint64_t> folderSize(
        const std::string &path, std::vector<WalkError> *unreadable = nullptr) = 0;

    // The one listing of a folder: each of its entries of one kind, sorted
    // by name (nameLess), given in turn as an item that may be reused for the
    // next. Files: those matching the query (pattern rules:
    // platform/fs/filenamepattern.h; an empty pattern matches nothing, so the
    // listing only tells whether path can be read). Folders: every folder
    // directly inside path, symbolic links to folders included; the query
    // does not apply. FoldersThenFiles: both, the folders first, from one
    // read of the folder. The Problem says why path could not be read.
    enum class Entries { Files, Folders, FoldersThenFiles };
    virtual Result<> listFolder(const std::string &path,
        Entries entries,
        const FileListQuery &query,
        const std::function<void(const FsItem &)> &each) = 0;

    // Shapes of that listing for callers that want it whole.
    struct SubFolders {
        std::vector<FsItem> folders;
        bool ok = false; // false when path could not be read
    };
    SubFolders subFolders(const std::string &path);
    struct FileList {
        std::vector<std::string> names;
        bool ok = false;
        std::string reason; // why path could not be read, when not ok
    };
    FileList fileList(const std::string &path, const FileListQuery &query);
    // Files with all their fields; none when path could not be read.
    std::vector<FsItem> files(const std::string &path, const FileListQuery &query);
    void eachFile(const std::string &path, const FileListQuery &query, const std::function<void(const FsItem &)> &each);

    // Depth-first walk below root (see TreeVisitor); every folder total is
    // computed in this single walk, bottom-up, by the rules of folderSize.
    // Symbolic links to folders are reported as folders but never descended
    // into (their total is 0).
    virtual WalkResult walk(const std::string &root, TreeVisitor &visitor) = 0;

    virtual bool folderExists(const std::string &path) = 0;
    virtual bool fileExists(const std::string &path) = 0;
    // What stands at path (a final symbolic link followed), in words for a
    // message: "a folder", "a file", "a FIFO", "a socket", "a device" or "a
    // special file"; "" when nothing does.
    virtual std::string kindOf(const std::string &path);
    // Creates the folder and any missing folders above it; true when it exists afterwards.
    virtual bool createFolder(const std::string &path) = 0;
    // Removes a file, or the symbolic link itself (never what it points to).
    virtual bool deleteFile(const std::string &path, const DeleteScope &scope = {}) = 0;
    // Removes an empty directory; a non-empty one is left alone (false).
    virtual bool removeEmptyFolder(const std::string &path, const DeleteScope &scope = {}) = 0;

    // Never null: a file that cannot be opened gives a writer whose writes
    // fail and whose finish() tells why.
    virtual std::unique_ptr<TextWriter> openTextWriter(const std::string &path, WriteMode mode) = 0;
};

// The file system of the machine the program runs on.
std::unique_ptr<FileSystem> systemFileSystem();

// The full path of an item named name inside folder: one separator between
// them unless folder already ends with one.
std::string joinPath(std::string_view folder, std::string_view name);

// The path with repeated "/" collapsed and without a trailing "/" (except for
// "/" itself). "." and ".." are kept as they are: they are resolved only by the
// file system, where symbolic links decide what ".." means.
std::string normalizePath(std::string_view path);

// The last element of a normalized path ("" for "/").
std::string_view nameOf(std::string_view path);

// The folder holding the item at a normalized path: "/" for items at the root,
// "" for "/" itself and for a relative path of one element.
std::string parentPathOf(std::string_view path);

// Whether path starts at a root ("/", "C:\", "\\server") rather than at
// the working folder.
bool isAbsolutePath(std::string_view path);

// A path given on a command line as the user means it: absolute (from the
// working folder), "." and ".." resolved; see withDotsResolved on POSIX.
std::string absolutePath(const std::string &path);

// The order of every sorted list of names: characters compared without regard
// to case (every letter, as the name patterns fold them: casefold.h), bytes
// that are not valid UTF-8 after every character; names that differ only in
// case are then ordered by their raw bytes, so the order is total and repeatable.
bool nameLess(std::string_view a, std::string_view b);

} // namespace mrb::platform
