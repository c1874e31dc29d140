// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/runtime.h"

#include "platform/com/errorinfo.h"
#include "platform/com/guid.h"
#include "platform/com/libraryfile.h"
#include "platform/registry/registrystore.h"

#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace mrb::platform
{

namespace
{

std::mutex &libraryMutex()
{
    static std::mutex m;
    return m;
}

// Libraries stay loaded for the life of the process: objects and strings they
// handed out may outlive any count we could keep here.
std::map<std::string, std::unique_ptr<ComponentLibrary>> &loadedLibraries()
{
    static std::map<std::string, std::unique_ptr<ComponentLibrary>> libraries;
    return libraries;
}

template <class Fn> Fn entryPoint(void *handle, const char *name)
{
    return reinterpret_cast<Fn>(::dlsym(handle, name));
}

void say(std::string *why, std::string text)
{
    if (why)
        *why = std::move(text);
}

std::string stringValue(const RegistryKey &root, const std::string &keyPath, std::string_view name)
{
    const RegistryKey *key = root.find(keyPath);
    if (!key)
        return {};
    const RegValue *v = key->value(name);
    if (!v || (v->type != RegValueType::String && v->type != RegValueType::ExpandString))
        return {};
    return v->data;
}

// A failed registration: the library reports only its status, so the store
// it writes to (the same one we look in) is asked why a change fails.
std::string describeFailure(HRESULT status)
{
    std::string text = describeStatus(status);
    if (status == SELFREG_E_CLASS) {
        if (const Result<> change = RegistryStore().checkChange(RegistryRoot::ClassesRoot); !change)
            text += ": " + change.reason();
    }
    return text;
}

} // namespace

std::optional<ClassEntry> findClass(const CLSID &clsid, std::string *storeProblem)
{
    const std::string base = "CLSID\\" + formatGuid(clsid);
    for (const RegistryStore &store : RegistryStore::classStores()) {
        // a store that cannot be read holds nothing; the next one may
        const Result<RegistryKey> root = store.load(RegistryRoot::ClassesRoot);
        if (!root) {
            if (storeProblem && storeProblem->empty())
                *storeProblem = root.reason();
            continue;
        }
        ClassEntry entry;
        entry.serverPath = stringValue(*root, base + "\\InprocServer32", "");
        if (entry.serverPath.empty())
            continue;
        if (entry.serverPath.front() != '/')
            entry.serverPath = (std::filesystem::path(store.folder()) / entry.serverPath).lexically_normal().string();
        entry.threadingModel = stringValue(*root, base + "\\InprocServer32", "ThreadingModel");
        entry.progId = stringValue(*root, base + "\\ProgID", "");
        entry.storeFolder = store.folder();
        return entry;
    }
    return std::nullopt;
}

std::optional<CLSID> classIdFromProgId(std::string_view progId)
{
    if (progId.empty() || progId.find('\\') != std::string_view::npos)
        return std::nullopt;
    for (const RegistryStore &store : RegistryStore::classStores()) {
        const auto root = store.load(RegistryRoot::ClassesRoot);
        if (!root)
            continue;
        if (const auto clsid = parseGuid(stringValue(*root, std::string(progId) + "\\CLSID", "")))
            return clsid;
    }
    return std::nullopt;
}

const ComponentLibrary *loadComponentLibrary(const std::string &path, std::string *why, HRESULT *status)
{
    if (status)
        *status = S_OK;
    std::lock_guard<std::mutex> guard(libraryMutex());
    auto &libraries = loadedLibraries();
    if (const auto it = libraries.find(path); it != libraries.end())
        return it->second.get();
    if (const Result<> usable = checkLibraryFile(path); !usable) {
        say(why, "cannot load " + path + ": " + usable.reason());
        if (status)
            *status = CO_E_DLLNOTFOUND;
        return nullptr;
    }
    void *handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *text = ::dlerror();
        say(why, "cannot load " + path + ": " + (text ? text : "unknown reason"));
        if (status)
            *status = CO_E_DLLNOTFOUND;
        return nullptr;
    }
    auto library = std::make_unique<ComponentLibrary>();
    library->path = path;
    library->getClassObject = entryPoint<DllGetClassObjectFn>(handle, "DllGetClassObject");
    library->canUnloadNow = entryPoint<DllCanUnloadNowFn>(handle, "DllCanUnloadNow");
    library->registerServer = entryPoint<DllRegisterServerFn>(handle, "DllRegisterServer");
    library->unregisterServer = entryPoint<DllUnregisterServerFn>(handle, "DllUnregisterServer");
    if (!library->getClassObject) {
        ::dlclose(handle);
        say(why, path + " is not a component library (it has no DllGetClassObject)");
        if (status)
            *status = CO_E_ERRORINDLL;
        return nullptr;
    }
    const ComponentLibrary *result = library.get();
    libraries.emplace(path, std::move(library));
    return result;
}

HRESULT createInstance(const CLSID &clsid, const IID &iid, void **out, std::string *why)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    std::string storeProblem;
    const auto entry = findClass(clsid, &storeProblem);
    if (!entry) {
        say(why,
            "class " + formatGuid(clsid) + " is not registered"
                + (storeProblem.empty() ? std::string() : "; a registry store could not be read: " + storeProblem));
        return REGDB_E_CLASSNOTREG;
    }
    HRESULT status = S_OK;
    const ComponentLibrary *library = loadComponentLibrary(entry->serverPath, why, &status);
    if (!library)
        return status;
    ComPtr<IClassFactory> factory;
    HRESULT hr = library->getClassObject(&clsid, &IID_IClassFactory, factory.put());
    if (FAILED(hr) || !factory) {
        factory.detach();
        say(why,
            entry->serverPath + " has no class " + formatGuid(clsid) + ": "
                + describeStatus(FAILED(hr) ? hr : E_POINTER));
        return FAILED(hr) ? hr : E_POINTER;
    }
    hr = factory->lpVtbl->CreateInstance(factory.get(), nullptr, &iid, out);
    if (FAILED(hr)) {
        *out = nullptr;
        say(why, "class " + formatGuid(clsid) + " of " + entry->serverPath + " refused: " + describeStatus(hr));
    }
    return hr;
}

HRESULT registerLibrary(const std::string &path, std::string *why)
{
    HRESULT status = S_OK;
    const ComponentLibrary *library = loadComponentLibrary(path, why, &status);
    if (!library)
        return status;
    if (!library->registerServer) {
        say(why, path + " has no DllRegisterServer");
        return CO_E_ERRORINDLL;
    }
    const HRESULT hr = library->registerServer();
    if (FAILED(hr))
        say(why, "registering " + path + " failed: " + describeFailure(hr));
    return hr;
}

HRESULT unregisterLibrary(const std::string &path, std::string *why)
{
    HRESULT status = S_OK;
    const ComponentLibrary *library = loadComponentLibrary(path, why, &status);
    if (!library)
        return status;
    if (!library->unregisterServer) {
        say(why, path + " has no DllUnregisterServer");
        return CO_E_ERRORINDLL;
    }
    const HRESULT hr = library->unregisterServer();
    if (FAILED(hr))
        say(why, "unregistering " + path + " failed: " + describeFailure(hr));
    return hr;
}

} // namespace mrb::platform
