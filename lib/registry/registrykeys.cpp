// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/registry/registrykeys.h"

#include <cstdlib>
#include <cstring>

namespace qfc
{

namespace
{

using mrb::platform::RegistryKey;
using mrb::platform::RegistryStore;
using mrb::platform::RegValue;
using mrb::platform::RegValueType;

constexpr std::size_t longestName = 254;

std::string expandEnvironment(std::string_view text)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, open - pos));
        const std::string name(text.substr(open + 1, close - open - 1));
        const char *value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value) {
            out += value;
            pos = close + 1;
        } else {
            // An unknown reference stays as written; its closing % may open the next.
            out.append(text.substr(open, close - open));
            pos = close;
        }
    }
    return out;
}

std::string trimmedName(std::string name)
{
    if (!name.empty() && name.back() == '\0')
        name.pop_back();
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

} // namespace

std::optional<RegistryKey> readRegistryKey(std::int32_t root, std::string_view path)
{
    const auto which = mrb::platform::registryRootOf(static_cast<std::uint32_t>(root));
    if (!which)
        return std::nullopt;
    // HKEY_CLASSES_ROOT shows the user's keys over the installation's (the
    // code-page table an installation registers, say); other roots are the user's.
    const std::vector<RegistryStore> stores = *which == mrb::platform::RegistryRoot::ClassesRoot
        ? RegistryStore::classStores()
        : std::vector {RegistryStore()};
    for (const RegistryStore &store : stores) {
        if (const auto tree = store.load(*which)) {
            if (const RegistryKey *key = tree->find(path))
                return *key;
        }
    }
    return std::nullopt;
}

bool updateRegistry(std::int32_t root, const std::function<bool(RegistryKey &)> &edit)
{
    const auto which = mrb::platform::registryRootOf(static_cast<std::uint32_t>(root));
    return which && RegistryStore().update(*which, edit).ok();
}

std::string registryValueText(const RegValue &value)
{
    switch (value.type) {
    case RegValueType::String:
        return value.data.substr(0, value.data.find('\0'));
    case RegValueType::ExpandString:
        return expandEnvironment(value.data.substr(0, value.data.find('\0')));
    case RegValueType::DWord:
        return std::to_string(static_cast<std::int32_t>(value.number));
    case RegValueType::Binary:
        break;
    }
    if (value.data.size() > 4)
        return {};
    unsigned char bytes[4] = {};
    std::memcpy(bytes, value.data.data(), value.data.size());
    const std::uint32_t n = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t {bytes[3]} << 24);
    return std::to_string(static_cast<std::int32_t>(n));
}

std::vector<std::string> listedNames(const std::vector<std::string> &names)
{
    std::vector<std::string> listed;
    for (const std::string &name : names) {
        if (name.size() > longestName)
            break;
        listed.push_back(trimmedName(name));
    }
    return listed;
}

std::string joined(const std::vector<std::string> &items, std::string_view separator)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += separator;
        out += items[i];
    }
    return out;
}

} // namespace qfc
