// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/dispatch.h"
#include "lib/frame/interfaces.h"

#include <cstdint>
#include <span>
#include <string>

namespace qfc
{

// The class Registry: keys and values of the registry store. Every argument
// is passed by reference.
class Registry final : public DispatchObject<Registry, QfcRegistry>
{
public:
    Registry();

    static const IID &interfaceId();
    static std::span<const Operation> operations();

    bool ExportRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef FileName);
    bool ImportRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef FileName);
    std::string ReadRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey, StrRef NoKeyFoundValue);
    bool WriteRegKey(Int32Ref KeyType, Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey, StrRef SubKeyValue);
    std::string EnumerateRegKeys(Int32Ref KeyRoot, StrRef KeyPath);
    std::string EnumerateRegKeyValues(Int32Ref KeyRoot, StrRef KeyPath);
    void DeleteRegKey(Int32Ref KeyRoot, StrRef KeyPath);
    bool DeleteRegKeyValue(Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey);
    std::int16_t GetRegKeyItems(Int32Ref KeyRoot, StrRef KeyPath);
    std::string EnumerateRegKeyItemNames(Int32Ref KeyRoot, StrRef KeyPath);
};

} // namespace qfc
