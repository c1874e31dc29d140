// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/failurelog.h"
#include "platform/windows/systemregistry.h"
#include "platform/windows/systemregistrybranch.h"

#include <string>

namespace mrb::platform
{

namespace
{

constexpr std::uint32_t regDword = 4;

std::string keyName(std::int32_t root, std::string_view path)
{
    const auto known = registryRootOf(static_cast<std::uint32_t>(root));
    std::string name(known ? registryRootName(*known) : std::string_view("?"));
    if (!path.empty())
        name += '\\';
    return name += path;
}

std::string below(std::string_view path, std::string_view name)
{
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return path.empty() ? std::string(name) : std::string(path) + '\\' + std::string(name);
}

std::optional<RegValue> treeValueOf(const SystemRegValue &value)
{
    switch (value.type) {
    case static_cast<std::uint32_t>(RegValueType::String):
        return RegValue::string(value.data);
    case static_cast<std::uint32_t>(RegValueType::ExpandString):
        return RegValue::expandString(value.data);
    case static_cast<std::uint32_t>(RegValueType::Binary):
        return RegValue::binary(value.data);
    case regDword:
        if (value.data.size() != 4)
            return std::nullopt;
        return RegValue::dword(static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[0]))
            | static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[1])) << 8
            | static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[2])) << 16
            | static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[3])) << 24);
    default:
        return std::nullopt;
    }
}

SystemRegValue systemValueOf(const RegValue &value)
{
    if (value.type != RegValueType::DWord)
        return {static_cast<std::uint32_t>(value.type), value.data};
    const std::uint32_t n = value.number;
    return {regDword,
        std::string {static_cast<char>(n & 0xFF),
            static_cast<char>((n >> 8) & 0xFF),
            static_cast<char>((n >> 16) & 0xFF),
            static_cast<char>(n >> 24)}};
}

Result<> readBranch(std::int32_t root, const std::string &path, RegistryKey &into)
{
    const auto values = systemValues(root, path);
    const auto names = systemSubKeyNames(root, path);
    if (!values || !names)
        return Result<>::failure(keyName(root, path), "cannot be read");
    for (const auto &[name, value] : *values) {
        const auto held = treeValueOf(value);
        if (!held)
            return Result<>::failure(keyName(root, path),
                "the value \"" + name + "\" is of type " + std::to_string(value.type)
                    + ", which a registry file cannot hold");
        into.setValue(name, *held);
    }
    for (const std::string &name : *names) {
        if (const Result<> read = readBranch(root, below(path, name), into.create(name)); !read)
            return read;
    }
    return {};
}

Result<> emptyKey(std::int32_t root, std::string_view path)
{
    const auto values = systemValues(root, path);
    const auto names = systemSubKeyNames(root, path);
    if (!values || !names)
        return Result<>::failure(keyName(root, path), "cannot be read");
    for (const std::string &name : *names) {
        if (!deleteSystemKey(root, below(path, name)))
            return Result<>::failure(keyName(root, below(path, name)), "cannot be deleted");
    }
    for (const auto &[name, value] : *values) {
        if (!deleteSystemValue(root, path, name))
            return Result<>::failure(keyName(root, path), "cannot delete the value \"" + name + "\"");
    }
    return {};
}

Result<> writeBranch(std::int32_t root, const std::string &path, const RegistryKey &branch)
{
    for (const auto &[name, value] : branch.values()) {
        if (!setSystemValue(root, path, name, systemValueOf(value)))
            return Result<>::failure(keyName(root, path), "cannot write the value \"" + name + "\"");
    }
    for (const std::string &name : branch.subKeyNames()) {
        const std::string childPath = below(path, name);
        if (!createSystemKey(root, childPath))
            return Result<>::failure(keyName(root, childPath), "cannot be created");
        if (const RegistryKey *child = branch.find(name)) {
            if (const Result<> written = writeBranch(root, childPath, *child); !written)
                return written;
        }
    }
    return {};
}

Result<> replaceContent(std::int32_t root, const std::string &path, const RegistryKey &branch)
{
    if (const Result<> emptied = emptyKey(root, path); !emptied)
        return emptied;
    return writeBranch(root, path, branch);
}

} // namespace

Result<RegistryKey> systemBranch(std::int32_t root, std::string_view path)
{
    if (!systemKeyFullyAccessible(root, path))
        return Problem {keyName(root, path), "cannot be opened with all access rights"};
    RegistryKey branch;
    if (const Result<> read = readBranch(root, std::string(path), branch); !read)
        return read.problem();
    return branch;
}

Result<> replaceSystemBranch(std::int32_t root, std::string_view path, const RegistryKey &branch)
{
    const Result<RegistryKey> before = systemBranch(root, path);
    if (!before)
        return before.problem();
    const std::string keyPath(path);
    const Result<> replaced = replaceContent(root, keyPath, branch);
    if (!replaced) {
        if (const Result<> putBack = replaceContent(root, keyPath, *before); !putBack)
            logIgnoredFailure("putting back a registry key", putBack.problem());
    }
    return replaced;
}

} // namespace mrb::platform
