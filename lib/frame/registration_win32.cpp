// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Registration into the system's own registry of components. The type
// library records itself (its interfaces included); the code-page table the
// library's data would add is the system's own on Windows and stays as it is.
#include "lib/frame/module.h"
#include "lib/frame/registration.h"
#include "platform/com/serverregistration.h"

namespace qfc
{

HRESULT registerServer(
    std::span<const ClassInfo> classes, std::span<const RegistrationEntry>, const std::string &libraryPath)
{
    if (libraryPath.empty())
        return SELFREG_E_CLASS;
    for (const RegistrationEntry &entry : classEntries(classes, libraryPath)) {
        if (!mrb::platform::setClassesValue(entry.key, entry.name, entry.value))
            return SELFREG_E_CLASS;
    }
    return SUCCEEDED(mrb::platform::registerTypeLibrary(libraryPath)) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT unregisterServer(std::span<const ClassInfo> classes, std::span<const RegistrationEntry>)
{
    const auto entries = classEntries(classes, std::string());
    for (const RegistrationEntry &entry : entries)
        mrb::platform::removeClassesValue(entry.key, entry.name);
    for (const std::string &key : keysToPrune(entries))
        mrb::platform::removeClassesKeyIfEmpty(key);
    return SUCCEEDED(mrb::platform::unregisterTypeLibrary(libraryPath())) ? S_OK : SELFREG_E_TYPELIB;
}

} // namespace qfc
