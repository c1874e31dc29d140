// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// mrb-register LIBRARY [--unregister]: runs a component library's own
// registration (or unregistration) into the registry store.
#include "platform/com/errorinfo.h"
#include "platform/com/runtime.h"
#include "platform/registry/registrystore.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char **argv)
{
    std::string library;
    bool unregister = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--unregister") == 0 || std::strcmp(argv[i], "-u") == 0) {
            unregister = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: mrb-register LIBRARY [--unregister]\n");
            return 0;
        } else if (library.empty() && argv[i][0] != '-') {
            library = argv[i];
        } else {
            std::fprintf(
                stderr, "mrb-register: unexpected argument %s\nusage: mrb-register LIBRARY [--unregister]\n", argv[i]);
            return 2;
        }
    }
    if (library.empty()) {
        std::fprintf(stderr, "usage: mrb-register LIBRARY [--unregister]\n");
        return 2;
    }
    // The library records the path it was loaded from, so load it by an absolute one.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(library, ec);
    if (!ec)
        library = absolute.lexically_normal().string();

    std::string why;
    const HRESULT hr =
        unregister ? mrb::platform::unregisterLibrary(library, &why) : mrb::platform::registerLibrary(library, &why);
    if (FAILED(hr)) {
        std::fprintf(
            stderr, "mrb-register: %s\n", why.empty() ? mrb::platform::describeStatus(hr).c_str() : why.c_str());
        return 1;
    }
    std::printf("%s %s in %s\n",
        unregister ? "Unregistered" : "Registered",
        library.c_str(),
        mrb::platform::RegistryStore::defaultFolder().c_str());
    return 0;
}
