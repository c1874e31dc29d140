// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"
#include "platform/com/comptr.h"

#include <optional>
#include <string>
#include <string_view>

namespace mrb::platform
{

// Creating objects of in-process component libraries by class identifier.
// A class is found in a registry store (HKEY_CLASSES_ROOT\CLSID\{id}\InprocServer32):
// the user's store first, then the installation's system store, so a user's
// registration of a class overrides the machine's. Its library is loaded once
// per process and stays loaded, and its class factory makes the object.
// Nothing else is cached: the stores are read on every creation.

struct ClassEntry {
    std::string serverPath; // the library file; a relative path is taken from the store's folder
    std::string threadingModel; // "Apartment"
    std::string progId; // "QFC_MRB.APIFuns"
    std::string storeFolder; // the store the class was found in
};

// The registration of a class, or nothing when it has no server path.
// *storeProblem then says why a store could not be read, if one could not.
std::optional<ClassEntry> findClass(const CLSID &clsid, std::string *storeProblem = nullptr);
// The class a programmatic identifier names (its CLSID back-reference).
std::optional<CLSID> classIdFromProgId(std::string_view progId);

// The entry points of a loaded component library.
struct ComponentLibrary {
    std::string path;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
    DllRegisterServerFn registerServer = nullptr;
    DllUnregisterServerFn unregisterServer = nullptr;
};

// Loads a library (once per path) and finds its four entry points. Nothing
// (and the reason in *why, CO_E_DLLNOTFOUND or CO_E_ERRORINDLL in *status)
// when it cannot be loaded or lacks DllGetClassObject.
const ComponentLibrary *loadComponentLibrary(
    const std::string &path, std::string *why = nullptr, HRESULT *status = nullptr);

// Makes a new object of a registered class and asks it for iid. Failures:
// REGDB_E_CLASSNOTREG (not in the store), CO_E_DLLNOTFOUND (library not
// loadable), CO_E_ERRORINDLL (no entry point), or what the library answered;
// *why then says what went wrong in words.
HRESULT createInstance(const CLSID &clsid, const IID &iid, void **out, std::string *why = nullptr);

template <class T>
ComPtr<T> createInstance(const CLSID &clsid, const IID &iid, HRESULT *status = nullptr, std::string *why = nullptr)
{
    ComPtr<T> object;
    const HRESULT hr = createInstance(clsid, iid, object.put(), why);
    if (FAILED(hr))
        object.detach();
    if (status)
        *status = hr;
    return object;
}

// Loads a library and runs its DllRegisterServer or DllUnregisterServer.
HRESULT registerLibrary(const std::string &path, std::string *why = nullptr);
HRESULT unregisterLibrary(const std::string &path, std::string *why = nullptr);

} // namespace mrb::platform
