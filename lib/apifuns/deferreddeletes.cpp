// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/deferreddeletes.h"

#include "platform/fs/fileidentity.h"
#include "platform/os/failurelog.h"
#include "platform/os/workingfolder.h"
#include "platform/registry/registrystore.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>

namespace qfc
{

namespace
{

using mrb::platform::FileIdentity;
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

template <class Number> std::optional<Number> numberIn(const std::string &text)
{
    Number n {};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

// The identity kept in an entry; nothing for an entry that has none (one
// recorded before identities carried a time), which then matches no file.
std::optional<FileIdentity> recordedIdentity(const RegistryKey &entry)
{
    const std::string born = textOf(entry, "Born");
    const std::string changed = textOf(entry, "Changed");
    const auto device = numberIn<std::uint64_t>(textOf(entry, "Device"));
    const auto inode = numberIn<std::uint64_t>(textOf(entry, "Inode"));
    const auto time = numberIn<std::int64_t>(born.empty() ? changed : born);
    if (!device || !inode || !time || born.empty() == changed.empty())
        return std::nullopt;
    return FileIdentity {*device, *inode, !born.empty(), *time};
}

void record(RegistryKey &entry, const FileIdentity &identity)
{
    entry.setValue("Device", RegValue::string(std::to_string(identity.device)));
    entry.setValue("Inode", RegValue::string(std::to_string(identity.inode)));
    entry.setValue(identity.born ? "Born" : "Changed", RegValue::string(std::to_string(identity.time)));
}

std::string absolute(const std::string &file)
{
    if (file.front() == '/')
        return file;
    const std::string cwd = mrb::platform::workingFolder();
    if (cwd.empty())
        return {};
    return cwd + (cwd.back() == '/' ? "" : "/") + file;
}

} // namespace

void deleteAfterRestart(const std::string &file)
{
    // The switch that allows renames of protected files at the next start, as
    // the operation has always set it; nothing reads it here.
    RegistryStore store;
    if (!store.setValue(RegistryRoot::LocalMachine, sessionManager, "AllowProtectedRenames", RegValue::dword(1)))
        mrb::platform::logIgnoredFailure("DelUntilReboot", "cannot set AllowProtectedRenames");

    const std::string boot = bootId();
    const std::string path = file.empty() ? std::string() : absolute(file);
    const auto identity = path.empty() ? std::nullopt : mrb::platform::fileIdentityOf(path);
    if (boot.empty() || !identity)
        return;
    const mrb::platform::Result<> recorded = store.update(RegistryRoot::LocalMachine, [&](RegistryKey &root) {
        RegistryKey &pending = root.create(pendingDeletes);
        unsigned long next = 1;
        for (const std::string &name : pending.subKeyNames()) {
            const RegistryKey *entry = pending.find(name);
            if (entry && textOf(*entry, "Path") == path && recordedIdentity(*entry) == identity
                && textOf(*entry, "BootId") == boot)
                return false; // already recorded
            next = std::max(next, std::strtoul(name.c_str(), nullptr, 10) + 1);
        }
        RegistryKey &entry = pending.create(std::to_string(next));
        // The path as bytes: a file name need not be text.
        entry.setValue("Path", RegValue::binary(path));
        record(entry, *identity);
        entry.setValue("BootId", RegValue::string(boot));
        return true;
    });
    if (!recorded)
        mrb::platform::logIgnoredFailure("DelUntilReboot", recorded.problem());
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
            const RegistryKey *entry = pending->find(name);
            if (entry && textOf(*entry, "BootId") == boot)
                continue; // recorded since this start: waits for the next one
            // Only the very file recorded: a file made later under the same
            // name is another file and stays, even on the same inode.
            if (const auto identity = entry ? recordedIdentity(*entry) : std::nullopt)
                mrb::platform::removeIfSameFile(textOf(*entry, "Path"), *identity);
            pending->remove(name);
            changed = true;
        }
        return changed;
    });
}

} // namespace qfc
