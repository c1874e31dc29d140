// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/registry/registry.h"

#include "lib/common/filebytes.h"
#include "lib/frame/argholders_p.h"
#include "lib/frame/identities.h"
#include "lib/registry/registrykeys.h"
#include "platform/fs/safefile.h"

namespace qfc
{

namespace
{

using mrb::platform::RegistryKey;
using mrb::platform::RegistryStore;
using mrb::platform::RegValue;

// KeyType values.
constexpr std::int32_t regSz = 1;
constexpr std::int32_t regExpandSz = 2;
constexpr std::int32_t regBinary = 3;
constexpr std::int32_t regDword = 4;

// A number written as text, by the automation conversion rules (blanks
// around it, a fraction rounded half to even); nothing outside low..high.
std::optional<std::int64_t> numberIn(const std::string &text, std::int64_t low, std::int64_t high)
{
    mrb::platform::Bstr bstr(text);
    VARIANT v {};
    v.vt = VT_BSTR;
    v.bstrVal = bstr.get();
    std::int64_t n = 0;
    if (FAILED(detail::toInteger(v, low, high, &n)))
        return std::nullopt;
    return n;
}

// The value WriteRegKey stores, or nothing when the text does not convert.
std::optional<RegValue> valueToWrite(std::int32_t type, const std::string &text)
{
    switch (type) {
    case regSz:
        return RegValue::string(text);
    case regExpandSz:
        return RegValue::expandString(text);
    case regBinary:
        if (const auto n = numberIn(text, 0, 255))
            return RegValue::binary(std::string {static_cast<char>(*n), '\0', '\0', '\0'});
        return std::nullopt;
    case regDword:
        if (const auto n = numberIn(text, INT32_MIN, INT32_MAX))
            return RegValue::dword(static_cast<std::uint32_t>(static_cast<std::int32_t>(*n)));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::vector<std::string> valueNamesOf(const RegistryKey &key)
{
    std::vector<std::string> names;
    for (const auto &[name, value] : key.values())
        names.push_back(name);
    return names;
}

// Makes dst hold exactly what src holds (values and the branch below), keeping
// dst's own name.
void replaceContent(RegistryKey &dst, const RegistryKey &src)
{
    for (const std::string &name : dst.subKeyNames())
        dst.remove(name);
    dst.clearValues();
    for (const auto &[name, value] : src.values())
        dst.setValue(name, value);
    for (const std::string &name : src.subKeyNames()) {
        if (const RegistryKey *child = src.find(name))
            replaceContent(dst.create(name), *child);
    }
}

} // namespace

QFC_CLASS_DEFINITION(Registry, QfcRegistry, IID_Registry, "_Registry", QFC_REGISTRY_OPERATIONS)

std::string Registry::ReadRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey, StrRef NoKeyFoundValue)
{
    const auto key = readRegistryKey(KeyRoot.get(), KeyPath.get());
    if (!key)
        return NoKeyFoundValue.get();
    const RegValue *value = key->value(SubKey.get());
    return value ? registryValueText(*value) : std::string();
}

bool Registry::WriteRegKey(Int32Ref KeyType, Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey, StrRef SubKeyValue)
{
    const std::int32_t type = KeyType.get();
    const auto value = valueToWrite(type, SubKeyValue.get());
    const std::string path = KeyPath.get();
    const std::string name = SubKey.get();
    // The key is made even when there is no value to write.
    const bool stored = updateRegistry(KeyRoot.get(), [&](RegistryKey &root) {
        RegistryKey &key = root.create(path);
        if (value)
            key.setValue(name, *value);
        return true;
    });
    const bool otherType = type < regSz || type > regDword;
    return stored && (value || otherType);
}

std::string Registry::EnumerateRegKeys(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto key = readRegistryKey(KeyRoot.get(), KeyPath.get());
    return key ? joined(listedNames(key->subKeyNames()), "*SK*") : std::string();
}

std::string Registry::EnumerateRegKeyValues(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto key = readRegistryKey(KeyRoot.get(), KeyPath.get());
    if (!key)
        return {};
    // The n-th name listed is the n-th value's: a trimmed name may name
    // another value, or none, so nothing is looked up by it.
    const std::vector<std::string> names = listedNames(valueNamesOf(*key));
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back(names[i] + "*NDS*" + registryValueText(key->values()[i].second));
    return joined(entries, "*IS*");
}

std::string Registry::EnumerateRegKeyItemNames(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto key = readRegistryKey(KeyRoot.get(), KeyPath.get());
    return key ? joined(listedNames(valueNamesOf(*key)), "*IS*") : std::string();
}

std::int16_t Registry::GetRegKeyItems(Int32Ref KeyRoot, StrRef KeyPath)
{
    const auto key = readRegistryKey(KeyRoot.get(), KeyPath.get());
    // Counted as the enumerations list them: up to a name too long to list.
    return key ? static_cast<std::int16_t>(std::min<std::size_t>(listedNames(valueNamesOf(*key)).size(), INT16_MAX))
               : 0;
}

void Registry::DeleteRegKey(Int32Ref KeyRoot, StrRef KeyPath)
{
    const std::string path = KeyPath.get();
    // The whole branch goes in one change of the store; a key that cannot be
    // deleted (a root itself) stays silently.
    updateRegistry(KeyRoot.get(), [&](RegistryKey &root) { return root.remove(path); });
}

bool Registry::DeleteRegKeyValue(Int32Ref KeyRoot, StrRef KeyPath, StrRef SubKey)
{
    const std::string path = KeyPath.get();
    if (!readRegistryKey(KeyRoot.get(), path))
        return false;
    if (SubKey.get().empty())
        SubKey.set(path);
    const std::string name = SubKey.get();
    bool deleted = false;
    const bool stored = updateRegistry(KeyRoot.get(), [&](RegistryKey &root) {
        RegistryKey *key = root.find(path);
        deleted = key && key->removeValue(name);
        return deleted;
    });
    return stored && deleted;
}

bool Registry::ExportRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef FileName)
{
    const auto key = readRegistryKey(KeyRoot.get(), KeyPath.get());
    if (!key)
        return false;
    // Written whole to a new file and then renamed, so a failed save leaves
    // an existing file as it was.
    return mrb::platform::writeFileSafely(FileName.get(), mrb::platform::registryText(*key)).ok();
}

bool Registry::ImportRegKey(Int32Ref KeyRoot, StrRef KeyPath, StrRef FileName)
{
    const std::string path = KeyPath.get();
    if (!readRegistryKey(KeyRoot.get(), path))
        return false;
    const auto text = readFileBytes(FileName.get());
    if (!text)
        return false;
    // A file that is no export leaves the key as it was: nothing is restored by halves.
    const auto branch = mrb::platform::parseRegistryText(*text);
    if (!branch)
        return false;
    bool restored = false;
    const bool stored = updateRegistry(KeyRoot.get(), [&](RegistryKey &root) {
        RegistryKey *key = root.find(path);
        if (key)
            replaceContent(*key, *branch);
        restored = key != nullptr;
        return restored;
    });
    return stored && restored;
}

} // namespace qfc
