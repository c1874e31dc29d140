// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/widestring_p.h"
#include "platform/fs/filenamepattern.h"
#include "platform/fs/win32filesystem.h"
#include "platform/fs/win32textwriter_win32.h"
#include "platform/fs/win32typenames_win32.h"
#include "platform/os/win32file.h"

#include <algorithm>
#include <windows.h>

namespace mrb::platform
{

namespace
{

constexpr DWORD keptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;

// A path the wide calls take whatever its length: past the classic limit
// only with the prefix that turns off the system's own path parsing.
std::wstring widePath(const std::string &path)
{
    std::wstring wide = toWide(path);
    if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\"))
        return wide;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

Timestamp unixTime(const FILETIME &time)
{
    const std::uint64_t ticks = (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (ticks == 0)
        return std::nullopt;
    // 100 ns ticks since 1601
    return static_cast<std::int64_t>(ticks / 10000000) - 11644473600LL;
}

struct Entry {
    std::string name;
    DWORD attributes = 0;
    std::uint64_t size = 0;
    FILETIME created {}, modified {}, accessed {};

    bool isFolder() const { return attributes & FILE_ATTRIBUTE_DIRECTORY; }
    bool isReparsePoint() const { return attributes & FILE_ATTRIBUTE_REPARSE_POINT; }
};

// Every entry of the folder but "." and "..", in the system's order.
Result<> readEntries(const std::string &folder, std::vector<Entry> &out)
{
    out.clear();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(widePath(joinPath(folder, "*")).c_str(),
        FindExInfoBasic,
        &data,
        FindExSearchNameMatch,
        nullptr,
        FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // an empty drive root has not even "."
        return code == ERROR_FILE_NOT_FOUND && GetFileAttributesW(widePath(folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY
            ? Result<>()
            : Result<>(win32Problem(folder, code));
    }
    do {
        if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0)
            continue;
        Entry entry;
        entry.name = fromWide(data.cFileName);
        entry.attributes = data.dwFileAttributes;
        entry.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entry.created = data.ftCreationTime;
        entry.modified = data.ftLastWriteTime;
        entry.accessed = data.ftLastAccessTime;
        out.push_back(std::move(entry));
    } while (FindNextFileW(find, &data));
    const DWORD code = GetLastError();
    FindClose(find);
    if (code != ERROR_NO_MORE_FILES)
        return win32Problem(folder, code);
    std::sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return nameLess(a.name, b.name); });
    return {};
}

void describe(FsItem &item, const Entry &entry, const std::string &parent, Win32TypeNames &types)
{
    item.name = entry.name;
    item.path = joinPath(parent, entry.name);
    item.parentPath = parent;
    item.isFolder = entry.isFolder();
    item.isSymlink = entry.isReparsePoint();
    item.attributes = entry.attributes & keptAttributes;
    item.type = item.isFolder ? types.folder() : types.describe(entry.name);
    item.size = item.isFolder ? 0 : entry.size;
    item.created = unixTime(entry.created);
    item.modified = unixTime(entry.modified);
    item.accessed = unixTime(entry.accessed);
}

// What stands at path itself (a reparse point not followed).
std::optional<Entry> lookAt(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    Entry entry;
    entry.name = std::string(nameOf(path));
    entry.attributes = data.dwFileAttributes;
    entry.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.created = data.ftCreationTime;
    entry.modified = data.ftLastWriteTime;
    entry.accessed = data.ftLastAccessTime;
    return entry;
}

bool shownByQuery(const Entry &entry, const FileListQuery &query)
{
    if ((entry.attributes & FILE_ATTRIBUTE_HIDDEN) && !query.includeHidden)
        return false;
    return !(entry.attributes & FILE_ATTRIBUTE_SYSTEM) || query.includeSystem;
}

// Totals only, for folderSize.
class SizeVisitor final : public TreeVisitor
{
public:
    explicit SizeVisitor(std::vector<WalkError> *unreadable)
        : m_unreadable(unreadable)
    {
    }
    void enterFolder(const FsItem &) override { }
    void file(const FsItem &) override { }
    void leaveFolder(const FsItem &, std::uint64_t) override { }
    void unreadableFolder(const WalkError &error) override
    {
        if (m_unreadable)
            m_unreadable->push_back(error);
    }

private:
    std::vector<WalkError> *m_unreadable;
};

} // namespace

Win32FileSystem::Win32FileSystem()
    : m_types(std::make_unique<Win32TypeNames>())
{
}

Win32FileSystem::~Win32FileSystem() = default;

std::vector<Drive> Win32FileSystem::drives()
{
    std::vector<Drive> result;
    wchar_t names[512];
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(names)), names);
    for (const wchar_t *name = names; length > 0 && length < std::size(names) && *name; name += wcslen(name) + 1) {
        Drive drive;
        drive.path = fromWide(name);
        wchar_t label[MAX_PATH + 1] = L"";
        // a drive without a medium has no label; it stays in the list
        const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
        if (GetVolumeInformationW(name, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
            drive.label = fromWide(label);
        SetErrorMode(previous);
        drive.isNetwork = GetDriveTypeW(name) == DRIVE_REMOTE;
        result.push_back(std::move(drive));
    }
    return result;
}

std::string Win32FileSystem::homeFolder()
{
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"USERPROFILE", buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer))
        return {};
    const std::string home = normalizePath(fromWide(buffer));
    return folderExists(home) ? home : std::string();
}

std::optional<FsItem> Win32FileSystem::folder(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const std::optional<Entry> entry = lookAt(path);
    if (!entry || !entry->isFolder())
        return std::nullopt;
    FsItem item;
    describe(item, *entry, parentPathOf(path), *m_types);
    item.path = path;
    return item;
}

std::optional<FsItem> Win32FileSystem::file(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    const std::optional<Entry> entry = lookAt(path);
    if (!entry || entry->isFolder())
        return std::nullopt;
    FsItem item;
    describe(item, *entry, parentPathOf(path), *m_types);
    item.path = path;
    return item;
}

std::optional<std::uint64_t> Win32FileSystem::folderSize(const std::string &path, std::vector<WalkError> *unreadable)
{
    SizeVisitor visitor(unreadable);
    const WalkResult result = walk(path, visitor);
    if (!result.rootReadable) {
        if (unreadable)
            unreadable->push_back(WalkError {normalizePath(path), 0, result.rootReason});
        return std::nullopt;
    }
    return result.total;
}

Result<> Win32FileSystem::listFolder(const std::string &rawPath,
    Entries entries,
    const FileListQuery &query,
    const std::function<void(const FsItem &)> &each)
{
    const std::string path = normalizePath(rawPath);
    std::vector<Entry> read;
    if (Result<> listed = readEntries(path, read); !listed)
        return listed;
    FsItem item;
    if (entries != Entries::Files) {
        for (const Entry &entry : read) {
            if (entry.isFolder()) {
                describe(item, entry, path, *m_types);
                each(item);
            }
        }
    }
    if (entries == Entries::Folders)
        return {};
    const FileNamePattern pattern(query.pattern);
    for (const Entry &entry : read) {
        if (!entry.isFolder() && shownByQuery(entry, query) && pattern.matches(entry.name)) {
            describe(item, entry, path, *m_types);
            each(item);
        }
    }
    return {};
}

WalkResult Win32FileSystem::walk(const std::string &rawRoot, TreeVisitor &visitor)
{
    struct Frame {
        FsItem item;
        std::vector<Entry> subFolders;
        std::size_t next = 0;
        std::uint64_t total = 0;
    };
    WalkResult result;
    if (!visitor.keepGoing()) {
        result.stopped = true;
        return result;
    }
    const std::string root = normalizePath(rawRoot);
    std::optional<FsItem> rootItem = folder(root);
    if (!rootItem) {
        result.rootReason = win32Problem(root, GetLastError()).reason;
        return result;
    }
    std::vector<Entry> read;
    std::vector<Frame> stack;
    FsItem described;
    // Reads the folder: reports its files, keeps its sub-folders for later.
    auto enter = [&](FsItem item) -> Result<> {
        if (Result<> listed = readEntries(item.path, read); !listed)
            return listed;
        Frame frame;
        frame.item = std::move(item);
        visitor.enterFolder(frame.item);
        for (Entry &entry : read) {
            if (entry.isFolder()) {
                frame.subFolders.push_back(std::move(entry));
                continue;
            }
            describe(described, entry, frame.item.path, *m_types);
            frame.total += described.size;
            visitor.file(described);
        }
        stack.push_back(std::move(frame));
        return {};
    };
    if (Result<> entered = enter(*rootItem); !entered) {
        result.rootReason = entered.reason();
        return result;
    }
    result.rootReadable = true;
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next < top.subFolders.size()) {
            const Entry &sub = top.subFolders[top.next++];
            if (!visitor.keepGoing()) {
                result.stopped = true;
                return result;
            }
            FsItem item;
            describe(item, sub, top.item.path, *m_types);
            if (sub.isReparsePoint()) {
                // a link or a junction: listed, never entered, so no walk loops
                visitor.enterFolder(item);
                visitor.leaveFolder(item, 0);
                continue;
            }
            const std::size_t depth = stack.size();
            if (Result<> entered = enter(std::move(item)); !entered) {
                ++result.unreadableFolders;
                visitor.unreadableFolder(WalkError {entered.path(), depth, entered.reason()});
            }
            continue;
        }
        const std::uint64_t total = top.total;
        visitor.leaveFolder(top.item, total);
        stack.pop_back();
        if (stack.empty())
            result.total = total;
        else
            stack.back().total += total;
    }
    return result;
}

bool Win32FileSystem::folderExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesW(widePath(normalizePath(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::fileExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesW(widePath(normalizePath(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::createFolder(const std::string &rawPath)
{
    const std::string path = normalizePath(rawPath);
    if (path.empty() || folderExists(path))
        return !path.empty();
    const std::string parent = parentPathOf(path);
    if (!parent.empty() && parent != path && !createFolder(parent))
        return false;
    CreateDirectoryW(widePath(path).c_str(), nullptr);
    return folderExists(path);
}

bool Win32FileSystem::deleteFile(const std::string &path, const DeleteScope &)
{
    return DeleteFileW(widePath(normalizePath(path)).c_str());
}

bool Win32FileSystem::removeEmptyFolder(const std::string &path, const DeleteScope &)
{
    return RemoveDirectoryW(widePath(normalizePath(path)).c_str());
}

std::unique_ptr<TextWriter> Win32FileSystem::openTextWriter(const std::string &path, WriteMode mode)
{
    return Win32TextWriter::open(path, mode);
}

std::unique_ptr<FileSystem> systemFileSystem()
{
    return std::make_unique<Win32FileSystem>();
}

} // namespace mrb::platform
