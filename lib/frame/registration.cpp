// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/registration.h"

#include "lib/frame/identities.h"
#include "platform/com/guid.h"
#include "platform/registry/registrystore.h"

#include <algorithm>
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

// Parent keys that many libraries share and that unregistration keeps.
bool isSharedKey(const std::string &key)
{
    return mrb::platform::sameRegName(key, "CLSID") || mrb::platform::sameRegName(key, "TypeLib");
}

std::string parentOf(const std::string &key)
{
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

} // namespace

std::vector<RegistrationEntry> registrationEntries(
    std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data, const std::string &libraryPath)
{
    std::vector<RegistrationEntry> entries;
    for (const ClassInfo &info : classes) {
        const std::string id = formatGuid(*info.clsid);
        const std::string progId = std::string(libraryName) + "." + info.name;
        entries.push_back({"CLSID\\" + id + "\\InprocServer32", "", libraryPath});
        entries.push_back({"CLSID\\" + id + "\\InprocServer32", "ThreadingModel", "Apartment"});
        entries.push_back({"CLSID\\" + id + "\\ProgID", "", progId});
        entries.push_back({progId + "\\CLSID", "", id});
    }
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
    const bool ok =
        RegistryStore()
            .update(RegistryRoot::ClassesRoot,
                [&](RegistryKey &root) {
                    bool changed = false;
                    std::vector<std::string> keys;
                    for (const RegistrationEntry &entry : entries) {
                        if (RegistryKey *key = root.find(entry.key))
                            changed = key->removeValue(entry.name) || changed;
                        for (std::string k = entry.key; !k.empty() && !isSharedKey(k); k = parentOf(k)) {
                            if (std::find(keys.begin(), keys.end(), k) == keys.end())
                                keys.push_back(k);
                        }
                    }
                    // Deepest keys first, so a parent is empty once its children are gone.
                    std::stable_sort(keys.begin(), keys.end(), [](const std::string &a, const std::string &b) {
                        return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
                    });
                    for (const std::string &k : keys) {
                        const RegistryKey *key = root.find(k);
                        if (key && key->values().empty() && !key->hasSubKeys())
                            changed = root.remove(k) || changed;
                    }
                    return changed;
                })
            .ok();
    return ok ? S_OK : SELFREG_E_CLASS;
}

} // namespace qfc
