// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/registry/registrystore.h"

#include "platform/fs/filesystem.h"
#include "platform/fs/installlayout.h"
#include "platform/fs/safefile.h"
#include "platform/os/filelock.h"
#include "platform/os/pathkind.h"
#include "platform/os/privatefolder.h"
#include "platform/os/userfolders.h"
#include "platform/os/wholefile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mrb::platform
{

namespace
{

// The store's lock across processes, held while it lives.
FileLock storeLock(const std::string &folder, FileLock::Kind kind)
{
    return FileLock(folder + "/.lock", kind, FileLock::Wait::UntilFree);
}

// Whether a new file can be made in folder, found by making and removing one.
Result<> canMakeFilesIn(const std::string &folder)
{
    const std::string probe = folder + "/.probe" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return systemProblem(folder, errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

// The whole file, an empty text for a missing one, or why it cannot be read.
Result<std::string> readStoreFile(const std::string &path)
{
    Result<std::string> text = readWholeFile(path, RegistryStore::maxFileBytes);
    if (text || text.errorNumber() == ENOENT)
        return text ? std::move(text) : Result<std::string>(std::string());
    std::string reason = text.reason();
    if (text.errorNumber() == EISDIR)
        reason = "it is a folder";
    else if (text.errorNumber() == EFBIG)
        reason = "it is larger than 64 MiB";
    else if (text.errorNumber() == 0)
        reason = "it is " + reason;
    return Problem {path, "cannot read " + path + ": " + reason, text.errorNumber()};
}

// The root in the file, or why it cannot be read or parsed.
Result<RegistryKey> readRoot(const std::string &path)
{
    const Result<std::string> text = readStoreFile(path);
    if (!text)
        return text.problem();
    Result<RegistryKey> key = parseRegistryText(*text);
    if (!key)
        return Problem {path, path + ": " + key.reason()};
    return key;
}

Result<> writeRoot(const std::string &path, const RegistryKey &root)
{
    if (registryDepthOf(root) > RegistryStore::maxKeyDepth)
        return Problem {path, path + ": the change would make " + tooDeepText()};
    const std::string text = registryText(root);
    if (text.size() > RegistryStore::maxFileBytes)
        return Problem {
            path, path + ": the change would make it larger than 64 MiB, more than the store reads back", EFBIG};
    // A new store file is private, as its folder is.
    const WriteResult written = writeFileSafely(path, text, SafeFileOptions {FolderLock::None, 0600});
    if (!written)
        return Problem {path, "cannot write " + path + ": " + written.reason(), written.errorNumber()};
    return {};
}

// The folder made (with its parents) and locked for a change.
Result<> makeFolder(const std::string &folder)
{
    const Result<> made = makePrivateFolder(folder);
    if (!made)
        return Problem {made.path(), "cannot create " + made.path() + ": " + made.reason(), made.errorNumber()};
    return {};
}

} // namespace

std::string RegistryStore::defaultFolder()
{
    if (const char *dir = std::getenv("QFC_REGISTRY_DIR"); dir && *dir)
        return dir;
    return joinPath(userFolder(UserFolder::Config), "qfc-registry");
}

std::string RegistryStore::systemFolder()
{
    if (const char *dir = std::getenv("QFC_SYSTEM_REGISTRY_DIR"); dir && *dir)
        return dir;
    const auto data = installedDataFolder(executableFolder());
    return data ? *data + "/qfc-registry" : std::string();
}

std::vector<RegistryStore> RegistryStore::classStores()
{
    std::vector<RegistryStore> stores {RegistryStore()};
    if (RegistryStore system(systemFolder()); !system.folder().empty() && system.folder() != stores.front().folder())
        stores.push_back(std::move(system));
    return stores;
}

RegistryStore::RegistryStore(std::string folder)
    : m_folder(std::move(folder))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

std::string RegistryStore::fileOf(RegistryRoot root) const
{
    return m_folder + "/" + std::string(registryRootName(root)) + ".reg";
}

Result<RegistryKey> RegistryStore::load(RegistryRoot root) const
{
    if (pathKindOf(m_folder) == PathKind::Missing)
        return RegistryKey(); // no store yet: every root is empty
    const FileLock lock = storeLock(m_folder, FileLock::Kind::Shared);
    return readRoot(fileOf(root));
}

Result<> RegistryStore::update(RegistryRoot root, const std::function<bool(RegistryKey &)> &edit)
{
    if (const Result<> made = makeFolder(m_folder); !made)
        return made;
    const FileLock lock = storeLock(m_folder, FileLock::Kind::Exclusive);
    if (!lock.held())
        return Problem {m_folder, "cannot lock " + m_folder};
    const std::string path = fileOf(root);
    Result<RegistryKey> key = readRoot(path);
    if (!key)
        return key.problem();
    if (!edit(*key))
        return {};
    return writeRoot(path, *key);
}

Result<> RegistryStore::checkChange(RegistryRoot root) const
{
    if (const Result<> made = makeFolder(m_folder); !made)
        return made;
    const FileLock lock = storeLock(m_folder, FileLock::Kind::Exclusive);
    if (!lock.held())
        return Problem {m_folder, "cannot lock " + m_folder};
    if (const Result<RegistryKey> key = readRoot(fileOf(root)); !key)
        return key.problem();
    // A change is written to a new file beside the old one.
    if (const Result<> writable = canMakeFilesIn(m_folder); !writable)
        return Problem {m_folder, "cannot write in " + m_folder + ": " + writable.reason(), writable.errorNumber()};
    return {};
}

std::optional<RegValue> RegistryStore::value(RegistryRoot root, std::string_view keyPath, std::string_view name) const
{
    const auto tree = load(root);
    if (!tree)
        return std::nullopt;
    const RegistryKey *key = tree->find(keyPath);
    if (!key)
        return std::nullopt;
    const RegValue *v = key->value(name);
    return v ? std::optional<RegValue>(*v) : std::nullopt;
}

bool RegistryStore::keyExists(RegistryRoot root, std::string_view keyPath) const
{
    const auto tree = load(root);
    return tree && tree->find(keyPath) != nullptr;
}

bool RegistryStore::setValue(RegistryRoot root, std::string_view keyPath, std::string_view name, const RegValue &value)
{
    return update(root, [&](RegistryKey &tree) {
        tree.create(keyPath).setValue(name, value);
        return true;
    }).ok();
}

bool RegistryStore::deleteKey(RegistryRoot root, std::string_view keyPath)
{
    bool removed = false;
    const bool ok = update(root, [&](RegistryKey &tree) {
        removed = tree.remove(keyPath);
        return removed;
    }).ok();
    return ok && removed;
}

bool RegistryStore::deleteValue(RegistryRoot root, std::string_view keyPath, std::string_view name)
{
    bool removed = false;
    const bool ok = update(root, [&](RegistryKey &tree) {
        RegistryKey *key = tree.find(keyPath);
        removed = key && key->removeValue(name);
        return removed;
    }).ok();
    return ok && removed;
}

} // namespace mrb::platform
