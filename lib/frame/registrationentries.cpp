// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/identities.h"
#include "lib/frame/registration.h"
#include "platform/com/guid.h"

#include <algorithm>

namespace qfc
{

namespace
{

// Parent keys that many libraries share and that unregistration keeps (our
// own entries spell them so).
bool isSharedKey(const std::string &key)
{
    return key == "CLSID" || key == "TypeLib";
}

std::string parentOf(const std::string &key)
{
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

} // namespace

std::vector<RegistrationEntry> classEntries(std::span<const ClassInfo> classes, const std::string &libraryPath)
{
    std::vector<RegistrationEntry> entries;
    for (const ClassInfo &info : classes) {
        const std::string id = mrb::platform::formatGuid(*info.clsid);
        const std::string progId = std::string(libraryName) + "." + info.name;
        entries.push_back({"CLSID\\" + id + "\\InprocServer32", "", libraryPath});
        entries.push_back({"CLSID\\" + id + "\\InprocServer32", "ThreadingModel", "Apartment"});
        entries.push_back({"CLSID\\" + id + "\\ProgID", "", progId});
        entries.push_back({progId + "\\CLSID", "", id});
    }
    return entries;
}

std::vector<std::string> keysToPrune(std::span<const RegistrationEntry> entries)
{
    std::vector<std::string> keys;
    for (const RegistrationEntry &entry : entries) {
        for (std::string k = entry.key; !k.empty() && !isSharedKey(k); k = parentOf(k)) {
            if (std::find(keys.begin(), keys.end(), k) == keys.end())
                keys.push_back(k);
        }
    }
    std::stable_sort(keys.begin(), keys.end(), [](const std::string &a, const std::string &b) {
        return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
    });
    return keys;
}

} // namespace qfc
