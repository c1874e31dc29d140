// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/registration.h"

#include "lib/frame/identities.h"
#include "platform/com/guid.h"
#include "platform/registry/registrystore.h"

#include <cstdio>

namespace qfc
{

namespace
{

using mrb::platform::formatGuid;
using mrb::platform::RegistryKey;
using mrb::platform::RegistryRoot;
using mrb::platform::RegistryStore;
using mrb::platform::RegValue;

std::string typeLibraryKey()
{
    return "TypeLib\\" + formatGuid(LIBID_QFC_MRB) + "\\" + libraryVersion;
}

std::string localeKey()
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(libraryLocale));
    return typeLibraryKey() + "\\" + hex + "\\linux64";
}

} // namespace

std::vector<RegistrationEntry> registrationEntries(
    std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data, const std::string &libraryPath)
{
    std::vector<RegistrationEntry> entries = classEntries(classes, libraryPath);
    entries.push_back({typeLibraryKey(), "", libraryDescription});
    entries.push_back({localeKey(), "", libraryPath});
    entries.insert(entries.end(), data.begin(), data.end());
    return entries;
}

HRESULT registerServer(
    std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data, const std::string &libraryPath)
{
    if (libraryPath.empty())
        return SELFREG_E_CLASS;
    const auto entries = registrationEntries(classes, data, libraryPath);
    const bool ok = RegistryStore()
                        .update(RegistryRoot::ClassesRoot,
                            [&](RegistryKey &root) {
                                for (const RegistrationEntry &entry : entries)
                                    root.create(entry.key).setValue(entry.name, RegValue::string(entry.value));
                                return true;
                            })
                        .ok();
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT unregisterServer(std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data)
{
    const auto entries = registrationEntries(classes, data, std::string());
    const auto remove = [&](RegistryKey &root) {
        bool changed = false;
        for (const RegistrationEntry &entry : entries) {
            if (RegistryKey *key = root.find(entry.key))
                changed = key->removeValue(entry.name) || changed;
        }
        for (const std::string &k : keysToPrune(entries)) {
            const RegistryKey *key = root.find(k);
            if (key && key->values().empty() && !key->hasSubKeys())
                changed = root.remove(k) || changed;
        }
        return changed;
    };
    const bool ok = RegistryStore().update(RegistryRoot::ClassesRoot, remove).ok();
    return ok ? S_OK : SELFREG_E_CLASS;
}

} // namespace qfc
