// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"
#include "platform/registry/registryformat.h"
#include "platform/registry/registrykey.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// The registry on POSIX: one text file per root (registryformat.h) in one folder, read under a shared
// lock and written by the rules of platform/fs/safefile.h under an exclusive
// lock held across processes. A file that cannot be parsed is never
// overwritten: reading it fails and so does every change. Only a regular file
// of at most maxFileBytes is read (a FIFO in its place is refused, never
// waited on), and a change whose file would be larger fails, so the store
// never writes what it cannot read back. Keys nest at most maxKeyDepth levels
// below a root: a file holding a deeper key is refused like any damaged file,
// and a change that would make one fails, so no walk over a tree ever goes
// deeper.
class RegistryStore
{
public:
    static constexpr std::size_t maxKeyDepth = maxRegistryKeyDepth;
    // Larger files are no registry stores; reading one whole could exhaust memory.
    static constexpr std::uint64_t maxFileBytes = 64u * 1024u * 1024u;

    // "$QFC_REGISTRY_DIR" when set, else "qfc-registry" in the user's config
    // folder (platform/os/userfolders.h).
    static std::string defaultFolder();
    // The store an installation shares among its users, read after the
    // user's own: "$QFC_SYSTEM_REGISTRY_DIR" when set, else "qfc-registry" in
    // the data folder of the installation the running program belongs to
    // ("$prefix/share/qfc-registry"); "" when it belongs to none.
    static std::string systemFolder();
    // Where HKEY_CLASSES_ROOT is read from, in order: the user's store, then
    // the installation's (when there is one), so the user's classes and keys
    // come before the installation's. Changes go to the user's store.
    static std::vector<RegistryStore> classStores();

    explicit RegistryStore(std::string folder = defaultFolder());

    const std::string &folder() const { return m_folder; }
    std::string fileOf(RegistryRoot root) const;

    // Failures are Problems whose path is the file or folder at fault and
    // whose reason says in one sentence what failed and names it ("cannot
    // read /x/HKEY_CURRENT_USER.reg: it is a folder", "/x/HKEY_USERS.reg:
    // line 3: bad value").

    // A copy of one root; a missing file is an empty root.
    Result<RegistryKey> load(RegistryRoot root) const;

    // Reads the root under the exclusive lock and hands it to edit; when edit
    // returns true the result is written back. A failure when the root could
    // not be read or written; edit's false is not a failure.
    Result<> update(RegistryRoot root, const std::function<bool(RegistryKey &)> &edit);

    // Whether a change of root would succeed now: it fails when the folder
    // cannot be made or written to, the lock cannot be taken, or the file
    // cannot be read or parsed. Changes nothing. For callers that only learn
    // that someone else's change failed (a library's registration).
    Result<> checkChange(RegistryRoot root) const;

    // Conveniences over load and update.
    std::optional<RegValue> value(RegistryRoot root, std::string_view keyPath, std::string_view name) const;
    bool keyExists(RegistryRoot root, std::string_view keyPath) const;
    bool setValue(RegistryRoot root, std::string_view keyPath, std::string_view name, const RegValue &value);
    bool deleteKey(RegistryRoot root, std::string_view keyPath);
    bool deleteValue(RegistryRoot root, std::string_view keyPath, std::string_view name);

private:
    std::string m_folder;
};

} // namespace mrb::platform
