// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/typelibrary.h"
#include "platform/com/widestring_p.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <oleauto.h>

namespace mrb::platform
{

void *typeInfoFromFile(const std::string &file, const std::string &iid)
{
    IID id;
    if (FAILED(IIDFromString(toWide(iid).c_str(), &id)))
        return nullptr;
    ITypeLib *library = nullptr;
    if (FAILED(LoadTypeLibEx(toWide(file).c_str(), REGKIND_NONE, &library)))
        return nullptr;
    ITypeInfo *info = nullptr;
    if (FAILED(library->GetTypeInfoOfGuid(id, &info)))
        info = nullptr;
    library->Release();
    return info;
}

} // namespace mrb::platform
