// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/os/uniquefd.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

// Low-level helpers shared by the POSIX file-system pieces: stat results,
// paths longer than PATH_MAX, and the description of one entry.
namespace mrb::platform::posix
{

class TypeDescriber;

// What one stat call says about an entry.
struct Stat {
    mode_t mode = 0; // file type and permission bits
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t accessed = 0;
    std::optional<std::int64_t> created; // only where the file system keeps a birth time (never 0)
    dev_t device = 0;
    ino_t inode = 0;
    std::uint32_t links = 1; // hard links to it
};

// What a statx call gave, as a Stat.
void fromStatx(const struct statx &sx, Stat &out);

enum class Follow { No, Yes };

// stat of name relative to the folder dirfd (statx where the kernel has it).
// Returns 0 or the errno value.
int statAt(int dirfd, const char *name, Follow follow, Stat &out);
// stat of an open descriptor.
int statFd(int fd, Stat &out);

// A path made ready for the *at() calls: a folder descriptor and the name of
// the last element inside it. A path shorter than PATH_MAX is used whole with
// AT_FDCWD; a longer one has its folder part opened a few thousand bytes at a
// time, so no call ever sees a path the kernel would refuse as too long.
class PathRef
{
public:
    explicit PathRef(const std::string &normalizedPath);

    int error() const { return m_error; } // 0 when dir() and leaf() can be used
    int dir() const { return m_dir; }
    const char *leaf() const { return m_leaf.c_str(); }

private:
    UniqueFd m_held;
    int m_dir;
    std::string m_leaf;
    int m_error = 0;
};

// Opens the folder at a normalized path of any length (following symbolic
// links, as path resolution does). flags are added to O_DIRECTORY|O_CLOEXEC.
// Returns an invalid descriptor and sets err on failure.
UniqueFd openFolder(const std::string &normalizedPath, int flags, int &err);

// The entries of one folder as the kernel lists them, except "." and "..":
// names kept in one buffer (one allocation for a folder of any size), each
// ending with a NUL so it can be passed to the *at() calls.
class EntryList
{
public:
    std::size_t size() const { return m_entries.size(); }
    std::string_view name(std::size_t i) const { return {m_names.data() + m_entries[i].offset, m_entries[i].length}; }
    const char *cName(std::size_t i) const { return m_names.data() + m_entries[i].offset; }
    unsigned char type(std::size_t i) const { return m_entries[i].type; } // DT_*; DT_UNKNOWN when not said
    void add(std::string_view name, unsigned char type);
    void clear();

    // The entries at indexes into out (another list, cleared first), ordered
    // by their names (nameLess order).
    void sortByName(const std::vector<std::uint32_t> &indexes, EntryList &out) const;

private:
    struct Entry {
        std::uint32_t offset;
        std::uint32_t length;
        unsigned char type;
    };
    std::string m_names;
    std::vector<Entry> m_entries;
};

// Reads all entries of the open folder fd into out (cleared first). The
// descriptor stays open and owned by the caller. Returns 0 or the errno value.
int readEntries(int fd, EntryList &out);

// Attribute bits of an entry: lst is what the entry itself is, described what
// it is described as (the target of a working symbolic link, else lst).
std::uint32_t attributesOf(std::string_view name, const Stat &lst, const Stat &described, bool isFolder);

FsItem describeFolder(std::string name, std::string path, std::string parentPath, const Stat &lst, const Stat &target);
// The same into an item that is reused, so describing many files allocates
// nothing once its texts have grown: path is folderPath/name.
void describeFileInto(FsItem &item,
    std::string_view name,
    const std::string &folderPath,
    const Stat &lst,
    const Stat *target,
    TypeDescriber &types);
// target null: a symbolic link that leads nowhere, described by the link itself.
FsItem describeFile(std::string name,
    std::string path,
    std::string parentPath,
    const Stat &lst,
    const Stat *target,
    TypeDescriber &types);

} // namespace mrb::platform::posix
