// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/sharedlibrary.h"

#include <dlfcn.h>

namespace mrb::platform
{

SharedLibrary loadSharedLibrary(const std::string &file)
{
    return file.empty() ? nullptr : ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void *sharedLibrarySymbol(SharedLibrary module, const char *name)
{
    return ::dlsym(module, name);
}

void unloadSharedLibrary(SharedLibrary module)
{
    ::dlclose(module);
}

} // namespace mrb::platform
