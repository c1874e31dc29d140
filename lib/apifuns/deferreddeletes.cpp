// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/deferreddeletes.h"

#include "platform/registry/registrystore.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace qfc
{

namespace
{

using mrb::platform::RegistryKey;
using mrb::platform::RegistryRoot;
using mrb::platform::RegistryStore;
using mrb::platform::RegValue;

constexpr const char *sessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char *pendingDeletes = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\PendingDeletes";

// This boot's identity; "" when the system does not tell.
std::string bootId()
{
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string id;
    std::getline(in, id);
    return id;
}

std::string textOf(const RegistryKey &key, const char *name)
{
    const RegValue *value = key.value(name);
    return value ? value->data : std::string();
}

std::string absolute(const std::string &file)
{
    if (file.front() == '/')
        return file;
    std::string cwd(4096, '\0');
    if (!::getcwd(cwd.data(), cwd.size()))
        return {};
    cwd.resize(cwd.find('\0'));
    return cwd + (cwd.back() == '/' ? "" : "/") + file;
}

} // namespace

void deleteAfterRestart(const std::string &file)
{
    // The switch that allows renames of protected files at the next start, as
    // the operation has always set it; nothing reads it here.
    RegistryStore store;
    store.setValue(RegistryRoot::LocalMachine, sessionManager, "AllowProtectedRenames", RegValue::dword(1));

    const std::string boot = bootId();
    const std::string path = file.empty() ? std::string() : absolute(file);
    struct stat st {
    };
    if (boot.empty() || path.empty() || ::lstat(path.c_str(), &st) != 0)
        return;
    const std::string device = std::to_string(st.st_dev);
    const std::string inode = std::to_string(st.st_ino);
    store.update(RegistryRoot::LocalMachine, [&](RegistryKey &root) {
        RegistryKey &pending = root.create(pendingDeletes);
        unsigned long next = 1;
        for (const std::string &name : pending.subKeyNames()) {
            const RegistryKey &entry = *pending.find(name);
            if (textOf(entry, "Path") == path && textOf(entry, "Device") == device && textOf(entry, "Inode") == inode
                && textOf(entry, "BootId") == boot)
                return false; // already recorded
            next = std::max(next, std::strtoul(name.c_str(), nullptr, 10) + 1);
        }
        RegistryKey &entry = pending.create(std::to_string(next));
        // The path as bytes: a file name need not be text.
        entry.setValue("Path", RegValue::binary(path));
        entry.setValue("Device", RegValue::string(device));
        entry.setValue("Inode", RegValue::string(inode));
        entry.setValue("BootId", RegValue::string(boot));
        return true;
    });
}

void carryOutDeletesAfterRestart()
{
    const std::string boot = bootId();
    if (boot.empty())
        return;
    RegistryStore().update(RegistryRoot::LocalMachine, [&](RegistryKey &root) {
        RegistryKey *pending = root.find(pendingDeletes);
        if (!pending)
            return false;
        bool changed = false;
        for (const std::string &name : pending->subKeyNames()) {
            const RegistryKey &entry = *pending->find(name);
            if (textOf(entry, "BootId") == boot)
                continue; // recorded since this start: waits for the next one
            const std::string path = textOf(entry, "Path");
            struct stat st {
            };
            // Only the very file recorded: a file made later under the same
            // name is another file and stays.
            if (!path.empty() && ::lstat(path.c_str(), &st) == 0 && std::to_string(st.st_dev) == textOf(entry, "Device")
                && std::to_string(st.st_ino) == textOf(entry, "Inode")) {
                if (S_ISDIR(st.st_mode))
                    ::rmdir(path.c_str()); // only when empty
                else
                    ::unlink(path.c_str());
            }
            pending->remove(name);
            changed = true;
        }
        return changed;
    });
}

} // namespace qfc
