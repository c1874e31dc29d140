// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// On Windows an interface is described by the type library the library file
// carries (compiled from the same operation lists), so a late-bound client's
// ITypeInfo and an early-bound client's imported library agree.
#include "lib/frame/module.h"
#include "lib/frame/typeinfo.h"
#include "platform/com/guid.h"
#include "platform/com/typelibrary.h"

namespace qfc
{

void *makeTypeInfo(const char *, const IID &iid, std::span<const Operation>)
{
    return mrb::platform::typeInfoFromFile(libraryPath(), mrb::platform::formatGuid(iid));
}

} // namespace qfc
