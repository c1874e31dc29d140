// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
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
    friend class RegistryStore;
    std::string m_name;
    std::vector<std::pair<std::string, RegValue>> m_values;
    std::map<std::string, std::size_t, RegNameLess> m_valueIndex; // name → position in m_values
    std::map<std::string, std::unique_ptr<RegistryKey>, RegNameLess> m_children;
};

// The registry: one text file per root in one folder, read under a shared
// lock and written by the rules of platform/fs/safefile.h under an exclusive
// lock held across processes. A file that cannot be parsed is never
// overwritten: reading it fails and so does every change. Only a regular file
// of at most maxFileBytes is read (a FIFO in its place is refused, never
// waited on), and a change whose file would be larger fails, so the store
// never writes what it cannot read back. Keys nest at most maxKeyDepth levels
// below a root: a file holding a deeper key is refused like any damaged file,
// and a change that would make one fails, so no walk over a tree ever goes
// deeper.
class RegistryStore
{
public:
    static constexpr std::size_t maxKeyDepth = 512;
    // Larger files are no registry stores; reading one whole could exhaust memory.
    static constexpr std::uint64_t maxFileBytes = 64u * 1024u * 1024u;

    // "$QFC_REGISTRY_DIR" when set, else "qfc-registry" in the user's config
    // folder (platform/os/userfolders.h).
    static std::string defaultFolder();
    // The store an installation shares among its users, read after the
    // user's own: "$QFC_SYSTEM_REGISTRY_DIR" when set, else "qfc-registry" in
    // the data folder of the installation the running program belongs to
    // ("$prefix/share/qfc-registry"); "" when it belongs to none.
    static std::string systemFolder();
    // Where HKEY_CLASSES_ROOT is read from, in order: the user's store, then
    // the installation's (when there is one), so the user's classes and keys
    // come before the installation's. Changes go to the user's store.
    static std::vector<RegistryStore> classStores();

    explicit RegistryStore(std::string folder = defaultFolder());

    const std::string &folder() const { return m_folder; }
    std::string fileOf(RegistryRoot root) const;

    // A copy of one root; a missing file is an empty root. Nothing (and the
    // reason in *error) when the file cannot be read or parsed.
    std::optional<RegistryKey> load(RegistryRoot root, std::string *error = nullptr) const;

    // Reads the root under the exclusive lock and hands it to edit; when edit
    // returns true the result is written back. False (and the reason) when the
    // root could not be read or written; edit's false is not a failure.
    bool update(RegistryRoot root, const std::function<bool(RegistryKey &)> &edit, std::string *error = nullptr);

    // Why a change of root would fail now ("" when it would not): the folder
    // cannot be made or written to, the lock cannot be taken, or the file
    // cannot be read or parsed. Changes nothing. For callers that only learn
    // that someone else's change failed (a library's registration).
    std::string changeProblem(RegistryRoot root) const;

    // Conveniences over load and update.
    std::optional<RegValue> value(RegistryRoot root, std::string_view keyPath, std::string_view name) const;
    bool keyExists(RegistryRoot root, std::string_view keyPath) const;
    bool setValue(RegistryRoot root, std::string_view keyPath, std::string_view name, const RegValue &value);
    bool deleteKey(RegistryRoot root, std::string_view keyPath);
    bool deleteValue(RegistryRoot root, std::string_view keyPath, std::string_view name);

    // The text a root is stored as, and back (used by the store and its tests).
    static std::string serialize(const RegistryKey &root);
    static std::optional<RegistryKey> parse(std::string_view text, std::string *error = nullptr);

private:
    std::string m_folder;
};

} // namespace mrb::platform
