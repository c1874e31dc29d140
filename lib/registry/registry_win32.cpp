// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The Registry class on the system's own registry (platform/windows).
#include "lib/frame/identities.h"
#include "lib/registry/namelists.h"
#include "lib/registry/numbertext.h"
#include "lib/registry/registry.h"
#include "platform/os/failurelog.h"
#include "platform/windows/systemregistry.h"
#include "platform/windows/systemregistryhive.h"

#include <algorithm>

namespace qfc
{

namespace
{

using mrb::platform::SystemRegValue;

// KeyType values, the system's value types.
constexpr std::int32_t regSz = 1;
constexpr std::int32_t regExpandSz = 2;
constexpr std::int32_t regBinary = 3;
constexpr std::int32_t regDword = 4;

// A value as text: a string cut at its first NUL (an expandable one with
// its references expanded), a number in decimal, binary data of up to four
// bytes as a little-endian signed number ("" beyond and for other types).
std::string valueText(const SystemRegValue &value)
{
    const std::string text = value.data.substr(0, value.data.find('\0'));
    switch (value.type) {
    case regSz:
        return text;
    case regExpandSz:
        return mrb::platform::expandedEnvironmentText(text);
    case regBinary:
    case regDword:
        break;
    default:
        return {};
    }
    return binaryValueText(value.data);
}

// The value WriteRegKey stores, or nothing when the text does not convert.
std::optional<SystemRegValue> valueToWrite(std::int32_t type, const std::string &text)
{
    auto littleEndian = [](std::uint32_t n) {
        return std::string {static_cast<char>(n & 0xFF),
            static_cast<char>((n >> 8) & 0xFF),
            static_cast<char>((n >> 16) & 0xFF),
            static_cast<char>(n >> 24)};
    };
    switch (type) {
    case regSz:
    case regExpandSz:
        return SystemRegValue {static_cast<std::uint32_t>(type), text};
    case regBinary:
        if (const auto n = numberIn(text, 0, 255))
            return SystemRegValue {regBinary, littleEndian(static_cast<std::uint32_t>(*n))};
        return std::nullopt;
    case regDword:
        if (const auto n = numberIn(text, INT32_MIN, INT32_MAX))
            return SystemRegValue {regDword, littleEndian(static_cast<std::uint32_t>(static_cast<std::int32_t>(*n)))};
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::vector<std::string> valueNamesOf(const std::vector<std::pair<std::string, SystemRegValue>> &values)
{
    std::vector<std::string> names;
    for (const auto &[name, value] : values)
        names.push_back(name);
    return names;
}

} // namespace

QFC_CLASS_DEFINITION(Registry, QfcRegistry, IID_Registry, "_Registry", QFC_REGISTRY_OPERATIONS)

std::string Registry::ReadRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey, StrRef NoKeyFoundValue)
{
    if (!mrb::platform::systemKeyExists(KeyRoot.get(), KeyPath.get()))
        return NoKeyFoundValue.get();
    const auto value = mrb::platform::systemValue(KeyRoot.get(), KeyPath.get(), SubKey.get());
    return value ? valueText(*value) : std::string();
}

bool Registry::WriteRegKey(Int32Ref KeyType, Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey, StrRef SubKeyValue)
{
    const std::int32_t type = KeyType.get();
    const auto value = valueToWrite(type, SubKeyValue.get());
    // The key is made even when there is no value to write.
    const bool stored = value ? mrb::platform::setSystemValue(KeyRoot.get(), KeyPath.get(), SubKey.get(), *value)
                              : mrb::platform::createSystemKey(KeyRoot.get(), KeyPath.get());
    const bool otherType = type < regSz || type > regDword;
    return stored && (value || otherType);
}

std::string Registry::EnumerateRegKeys(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto names = mrb::platform::systemSubKeyNames(KeyRoot.get(), KeyPath.get());
    return names ? joined(listedNames(*names), "*SK*") : std::string();
}

std::string Registry::EnumerateRegKeyValues(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto values = mrb::platform::systemValues(KeyRoot.get(), KeyPath.get());
    if (!values)
        return {};
    // The n-th name listed is the n-th value's: a trimmed name may name
    // another value, or none, so nothing is looked up by it.
    const std::vector<std::string> names = listedNames(valueNamesOf(*values));
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back(names[i] + "*NDS*" + valueText((*values)[i].second));
    return joined(entries, "*IS*");
}

std::string Registry::EnumerateRegKeyItemNames(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto values = mrb::platform::systemValues(KeyRoot.get(), KeyPath.get());
    return values ? joined(listedNames(valueNamesOf(*values)), "*IS*") : std::string();
}

std::int16_t Registry::GetRegKeyItems(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto values = mrb::platform::systemValues(KeyRoot.get(), KeyPath.get());
    return values
        ? static_cast<std::int16_t>(std::min<std::size_t>(listedNames(valueNamesOf(*values)).size(), INT16_MAX))
        : 0;
}

void Registry::DeleteRegKey(Int32Ref KeyRoot, StrRef KeyPath)
{
    // A key that cannot be deleted (a root itself) stays silently.
    mrb::platform::deleteSystemKey(KeyRoot.get(), KeyPath.get());
}

bool Registry::DeleteRegKeyValue(Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey)
{
    const std::string path = KeyPath.get();
    if (!mrb::platform::systemKeyExists(KeyRoot.get(), path))
        return false;
    if (SubKey.get().empty())
        SubKey.set(path);
    return mrb::platform::deleteSystemValue(KeyRoot.get(), path, SubKey.get());
}

bool Registry::ExportRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef FileName)
{
    if (!mrb::platform::enableProcessPrivilege("SeBackupPrivilege"))
        return false;
    // An existing file is replaced only by a whole hive (platform/windows).
    const auto saved = mrb::platform::saveSystemBranch(KeyRoot.get(), KeyPath.get(), FileName.get());
    if (!saved)
        mrb::platform::logIgnoredFailure("ExportRegKey", saved.problem());
    return saved.ok();
}

bool Registry::ImportRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef FileName)
{
    if (!mrb::platform::enableProcessPrivilege("SeRestorePrivilege"))
        return false;
    const auto restored = mrb::platform::restoreSystemBranch(KeyRoot.get(), KeyPath.get(), FileName.get());
    if (!restored)
        mrb::platform::logIgnoredFailure("ImportRegKey", restored.problem());
    return restored.ok();
}

} // namespace qfc
