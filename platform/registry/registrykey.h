// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mrb::platform
{

// The predefined roots, numbered by their handle values.
enum class RegistryRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    CurrentConfig = 0x80000005u,
};

// The root of a handle value, or nothing for any other number.
std::optional<RegistryRoot> registryRootOf(std::uint32_t handle);
// "HKEY_CLASSES_ROOT" and so on.
std::string_view registryRootName(RegistryRoot root);

enum class RegValueType : std::uint32_t {
    String = 1,
    ExpandString = 2,
    Binary = 3,
    DWord = 4,
};

struct RegValue {
    RegValueType type = RegValueType::String;
    std::string data; // the text (UTF-8) of a string, the bytes of a binary value
    std::uint32_t number = 0; // a DWord

    static RegValue string(std::string text) { return {RegValueType::String, std::move(text), 0}; }
    static RegValue expandString(std::string text) { return {RegValueType::ExpandString, std::move(text), 0}; }
    static RegValue binary(std::string bytes) { return {RegValueType::Binary, std::move(bytes), 0}; }
    static RegValue dword(std::uint32_t n) { return {RegValueType::DWord, {}, n}; }
    bool operator==(const RegValue &) const = default;
};

// Names of keys and values compare without regard to ASCII case; a key keeps
// the spelling it was created with. Paths separate key names with "\"; empty
// parts (leading, trailing or doubled separators) are ignored.
struct RegNameLess {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};
bool sameRegName(std::string_view a, std::string_view b);
std::vector<std::string> splitRegPath(std::string_view path);

// One key with its values (in the order they were first set; "" is the key's
// default value) and its sub-keys (sorted by name).
class RegistryKey
{
public:
    explicit RegistryKey(std::string name = {})
        : m_name(std::move(name))
    {
    }
    ~RegistryKey();
    RegistryKey(const RegistryKey &other);
    RegistryKey &operator=(const RegistryKey &other);
    RegistryKey(RegistryKey &&) noexcept = default;
    RegistryKey &operator=(RegistryKey &&) noexcept = default;

    const std::string &name() const { return m_name; }

    // The key at a path below this one ("" is this key), or nullptr.
    RegistryKey *find(std::string_view path);
    const RegistryKey *find(std::string_view path) const;
    // The key at a path, created with any missing keys above it.
    RegistryKey &create(std::string_view path);
    // Removes the key at a path with everything below it; false when missing
    // (or when path names this key itself).
    bool remove(std::string_view path);

    std::vector<std::string> subKeyNames() const;
    bool hasSubKeys() const { return !m_children.empty(); }

    // Values are found by name through an index, so a key of many values
    // reads and changes in time that grows with the log of their number.
    const RegValue *value(std::string_view name) const;
    void setValue(std::string_view name, RegValue value);
    bool removeValue(std::string_view name);
    void clearValues();
    const std::vector<std::pair<std::string, RegValue>> &values() const { return m_values; }

    bool operator==(const RegistryKey &other) const;

private:
    std::string m_name;
    std::vector<std::pair<std::string, RegValue>> m_values;
    std::map<std::string, std::size_t, RegNameLess> m_valueIndex; // name → position in m_values
    std::map<std::string, std::unique_ptr<RegistryKey>, RegNameLess> m_children;
};

} // namespace mrb::platform
