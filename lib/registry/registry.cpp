// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/registry/registry.h"

#include "lib/frame/identities.h"

namespace qfc
{

namespace
{

constexpr Param keyFile[] = {required("KeyRoot"), required("KeyPath"), required("FileName")};
constexpr Param readKey[] = {required("KeyRoot"), required("KeyPath"), required("SubKey"), optional("NoKeyFoundValue")};
constexpr Param writeKey[] = {
    required("KeyType"), required("KeyRoot"), required("KeyPath"), required("SubKey"), required("SubKeyValue")};
constexpr Param key[] = {required("KeyRoot"), required("KeyPath")};
constexpr Param deleteValue[] = {required("KeyRoot"), required("KeyPath"), optional("SubKey")};

// 0x60030008 and 0x60030009 belong to the class's private operations.
const Operation table[] = {
    operation<&Registry::ExportRegKey>("ExportRegKey", 0x60030000, keyFile),
    operation<&Registry::ImportRegKey>("ImportRegKey", 0x60030001, keyFile),
    operation<&Registry::ReadRegKey>("ReadRegKey", 0x60030002, readKey),
    operation<&Registry::WriteRegKey>("WriteRegKey", 0x60030003, writeKey),
    operation<&Registry::EnumerateRegKeys>("EnumerateRegKeys", 0x60030004, key),
    operation<&Registry::EnumerateRegKeyValues>("EnumerateRegKeyValues", 0x60030005, key),
    operation<&Registry::DeleteRegKey>("DeleteRegKey", 0x60030006, key),
    operation<&Registry::DeleteRegKeyValue>("DeleteRegKeyValue", 0x60030007, deleteValue),
    operation<&Registry::GetRegKeyItems>("GetRegKeyItems", 0x6003000A, key),
    operation<&Registry::EnumerateRegKeyItemNames>("EnumerateRegKeyItemNames", 0x6003000B, key),
};

const QfcRegistryVtbl interfaceTable = {
    QFC_DISPATCH_SLOTS(Registry),
    QFC_SLOT(QfcRegistry, Registry::ExportRegKey),
    QFC_SLOT(QfcRegistry, Registry::ImportRegKey),
    QFC_SLOT(QfcRegistry, Registry::ReadRegKey),
    QFC_SLOT(QfcRegistry, Registry::WriteRegKey),
    QFC_SLOT(QfcRegistry, Registry::EnumerateRegKeys),
    QFC_SLOT(QfcRegistry, Registry::EnumerateRegKeyValues),
    QFC_SLOT(QfcRegistry, Registry::DeleteRegKey),
    QFC_SLOT(QfcRegistry, Registry::DeleteRegKeyValue),
    QFC_SLOT(QfcRegistry, Registry::GetRegKeyItems),
    QFC_SLOT(QfcRegistry, Registry::EnumerateRegKeyItemNames),
};

} // namespace

Registry::Registry()
    : DispatchObject(&interfaceTable)
{
}

const IID &Registry::interfaceId()
{
    return IID_Registry;
}

std::span<const Operation> Registry::operations()
{
    return table;
}

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
