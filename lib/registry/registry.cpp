// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/registry/registry.h"

#include "lib/frame/identities.h"

namespace qfc
{

QFC_CLASS_DEFINITION(Registry, QfcRegistry, IID_Registry, "_Registry", QFC_REGISTRY_OPERATIONS)

// ---- every operation answers with the empty result until it is built ----------

bool Registry::ExportRegKey(Int32Ref, StrRef, StrRef)
{
    return false;
}

bool Registry::ImportRegKey(Int32Ref, StrRef, StrRef)
{
    return false;
}

std::string Registry::ReadRegKey(Int32Ref, StrRef, StrRef, StrRef)
{
    return {};
}

bool Registry::WriteRegKey(Int32Ref, Int32Ref, StrRef, StrRef, StrRef)
{
    return false;
}

std::string Registry::EnumerateRegKeys(Int32Ref, StrRef)
{
    return {};
}

std::string Registry::EnumerateRegKeyValues(Int32Ref, StrRef)
{
    return {};
}

void Registry::DeleteRegKey(Int32Ref, StrRef)
{
}

bool Registry::DeleteRegKeyValue(Int32Ref, StrRef, StrRef)
{
    return false;
}

std::int16_t Registry::GetRegKeyItems(Int32Ref, StrRef)
{
    return 0;
}

std::string Registry::EnumerateRegKeyItemNames(Int32Ref, StrRef)
{
    return {};
}

} // namespace qfc
