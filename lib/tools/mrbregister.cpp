// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-register [--system] LIBRARY [--unregister]: runs a component library's
// own registration (or unregistration) into the user's registry store, or
// with --system into the store the installation shares among its users.
#include "platform/com/errorinfo.h"
#include "platform/com/runtime.h"
#include "platform/os/pathkind.h"
#include "platform/os/privatefolder.h"
#include "platform/registry/registrystore.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

using mrb::platform::RegistryKey;
using mrb::platform::RegistryRoot;
using mrb::platform::RegistryStore;
using mrb::platform::RegValueType;

constexpr const char *usage = "usage: mrb-register [--system] LIBRARY [--unregister]\n";

// The library's path as the store should keep it: relative to the store's
// folder when both lie in one tree below the root (an installation's prefix),
// so the tree keeps working when it is packaged, unpacked or moved.
std::string pathForStore(const std::string &library, const std::string &folder)
{
    // the first folder below the root of an absolute path, or ""
    const auto top = [](const std::filesystem::path &p) {
        auto it = p.begin();
        return p.is_absolute() && it != p.end() && ++it != p.end() ? it->string() : std::string();
    };
    const std::filesystem::path lib(library);
    const std::filesystem::path store(folder);
    if (top(lib).empty() || top(lib) != top(store))
        return library;
    return lib.lexically_relative(store).string();
}

void replaceValues(RegistryKey &key, const std::string &from, const std::string &to, bool &changed)
{
    std::vector<std::string> names;
    for (const auto &[name, value] : key.values()) {
        if (value.type == RegValueType::String && value.data == from)
            names.push_back(name);
    }
    for (const std::string &name : names)
        key.setValue(name, mrb::platform::RegValue::string(to));
    changed = changed || !names.empty();
    for (const std::string &child : key.subKeyNames())
        replaceValues(*key.find(child), from, to, changed);
}

// After the library changed the system store: its path made relative (when
// it registered), and the store's files readable by every user again.
bool shareRegistration(const std::string &folder, const std::string &library, bool registered, std::string &why)
{
    RegistryStore store(folder);
    const std::string stored = pathForStore(library, folder);
    if (registered && stored != library) {
        const mrb::platform::Result<> updated = store.update(RegistryRoot::ClassesRoot, [&](RegistryKey &root) {
            bool changed = false;
            replaceValues(root, library, stored, changed);
            return changed;
        });
        if (!updated) {
            why = updated.reason();
            return false;
        }
    }
    for (const std::string &file : {store.fileOf(RegistryRoot::ClassesRoot), folder + "/.lock"}) {
        if (const mrb::platform::Result<> readable = mrb::platform::makeReadableByAll(file); !readable) {
            why = "cannot make " + file + " readable: " + readable.reason();
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::string library;
    bool unregister = false;
    bool system = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--unregister") == 0 || std::strcmp(argv[i], "-u") == 0) {
            unregister = true;
        } else if (std::strcmp(argv[i], "--system") == 0) {
            system = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("%s", usage);
            return 0;
        } else if (library.empty() && argv[i][0] != '-') {
            library = argv[i];
        } else {
            std::fprintf(stderr, "mrb-register: unexpected argument %s\n%s", argv[i], usage);
            return 2;
        }
    }
    if (library.empty()) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    // The library records the path it was loaded from, so load it by an absolute one.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(library, ec);
    if (!ec)
        library = absolute.lexically_normal().string();

    std::string folder = RegistryStore::defaultFolder();
    if (system) {
        folder = RegistryStore::systemFolder();
        if (folder.empty()) {
            std::fprintf(stderr,
                "mrb-register: this copy belongs to no installation, so it has no system store "
                "(QFC_SYSTEM_REGISTRY_DIR names one)\n");
            return 1;
        }
        if (const mrb::platform::Result<> made =
                unregister ? mrb::platform::Result<>() : mrb::platform::makeSharedFolder(folder);
            !made) {
            std::fprintf(stderr, "mrb-register: cannot create %s: %s\n", made.path().c_str(), made.reason().c_str());
            return 1;
        }
        // Said now, not as a failure deep in the store: the store is there,
        // and it is its owner's to change.
        if (const mrb::platform::Result<> writable = mrb::platform::canWriteIn(folder);
            mrb::platform::pathKindOf(folder) != mrb::platform::PathKind::Missing && !writable) {
            std::fprintf(stderr,
                "mrb-register: cannot change the installation's store %s: %s (only its owner may: run "
                "mrb-register --system as that user)\n",
                folder.c_str(),
                writable.reason().c_str());
            return 1;
        }
        // the library registers itself into the store this names
        ::setenv("QFC_REGISTRY_DIR", folder.c_str(), 1);
    }

    std::string why;
    HRESULT hr =
        unregister ? mrb::platform::unregisterLibrary(library, &why) : mrb::platform::registerLibrary(library, &why);
    if (SUCCEEDED(hr) && system && !shareRegistration(folder, library, !unregister, why))
        hr = E_FAIL;
    if (FAILED(hr)) {
        std::fprintf(
            stderr, "mrb-register: %s\n", why.empty() ? mrb::platform::describeStatus(hr).c_str() : why.c_str());
        return 1;
    }
    std::printf("%s %s in %s\n", unregister ? "Unregistered" : "Registered", library.c_str(), folder.c_str());
    return 0;
}
