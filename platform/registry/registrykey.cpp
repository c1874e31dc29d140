// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/registry/registrykey.h"

#include "platform/text/asciitext.h"

namespace mrb::platform
{

bool RegNameLess::operator()(std::string_view a, std::string_view b) const
{
    return lessIgnoringAsciiCase(a, b);
}

bool sameRegName(std::string_view a, std::string_view b)
{
    return sameIgnoringAsciiCase(a, b);
}

std::vector<std::string> splitRegPath(std::string_view path)
{
    const std::vector<std::string_view> parts = nonEmptyParts(path, '\\');
    return std::vector<std::string>(parts.begin(), parts.end());
}

std::optional<RegistryRoot> registryRootOf(std::uint32_t handle)
{
    switch (handle) {
    case 0x80000000u:
    case 0x80000001u:
    case 0x80000002u:
    case 0x80000003u:
    case 0x80000005u:
        return static_cast<RegistryRoot>(handle);
    default:
        return std::nullopt;
    }
}

std::string_view registryRootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
        return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    }
    return "HKEY_UNKNOWN";
}

RegistryKey::RegistryKey(const RegistryKey &other)
    : m_name(other.m_name)
    , m_values(other.m_values)
    , m_valueIndex(other.m_valueIndex)
{
    for (const auto &[name, child] : other.m_children)
        m_children.emplace(name, std::make_unique<RegistryKey>(*child));
}

RegistryKey::~RegistryKey()
{
    // Children are taken apart one level at a time, so a deep tree does not
    // make a deep chain of destructor calls.
    std::vector<std::unique_ptr<RegistryKey>> doomed;
    for (auto &[name, child] : m_children)
        doomed.push_back(std::move(child));
    m_children.clear();
    while (!doomed.empty()) {
        std::unique_ptr<RegistryKey> key = std::move(doomed.back());
        doomed.pop_back();
        for (auto &[name, child] : key->m_children)
            doomed.push_back(std::move(child));
        key->m_children.clear();
    }
}

RegistryKey &RegistryKey::operator=(const RegistryKey &other)
{
    if (this != &other) {
        RegistryKey copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RegistryKey *RegistryKey::find(std::string_view path)
{
    RegistryKey *key = this;
    for (const std::string &part : splitRegPath(path)) {
        const auto it = key->m_children.find(part);
        if (it == key->m_children.end())
            return nullptr;
        key = it->second.get();
    }
    return key;
}

const RegistryKey *RegistryKey::find(std::string_view path) const
{
    return const_cast<RegistryKey *>(this)->find(path);
}

RegistryKey &RegistryKey::create(std::string_view path)
{
    RegistryKey *key = this;
    for (const std::string &part : splitRegPath(path)) {
        auto it = key->m_children.find(part);
        if (it == key->m_children.end())
            it = key->m_children.emplace(part, std::make_unique<RegistryKey>(part)).first;
        key = it->second.get();
    }
    return *key;
}

bool RegistryKey::remove(std::string_view path)
{
    std::vector<std::string> parts = splitRegPath(path);
    if (parts.empty())
        return false;
    const std::string last = parts.back();
    parts.pop_back();
    RegistryKey *parent = this;
    for (const std::string &part : parts) {
        const auto it = parent->m_children.find(part);
        if (it == parent->m_children.end())
            return false;
        parent = it->second.get();
    }
    return parent->m_children.erase(last) > 0;
}

std::vector<std::string> RegistryKey::subKeyNames() const
{
    std::vector<std::string> names;
    names.reserve(m_children.size());
    for (const auto &[name, child] : m_children)
        names.push_back(child->m_name);
    return names;
}

const RegValue *RegistryKey::value(std::string_view name) const
{
    const auto it = m_valueIndex.find(name);
    return it == m_valueIndex.end() ? nullptr : &m_values[it->second].second;
}

void RegistryKey::setValue(std::string_view name, RegValue value)
{
    if (const auto it = m_valueIndex.find(name); it != m_valueIndex.end()) {
        m_values[it->second].second = std::move(value);
        return;
    }
    m_valueIndex.emplace(std::string(name), m_values.size());
    m_values.emplace_back(std::string(name), std::move(value));
}

bool RegistryKey::removeValue(std::string_view name)
{
    const auto it = m_valueIndex.find(name);
    if (it == m_valueIndex.end())
        return false;
    const std::size_t at = it->second;
    m_valueIndex.erase(it);
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto &[other, position] : m_valueIndex) {
        if (position > at)
            --position;
    }
    return true;
}

void RegistryKey::clearValues()
{
    m_values.clear();
    m_valueIndex.clear();
}

bool RegistryKey::operator==(const RegistryKey &other) const
{
    if (m_name != other.m_name || m_values != other.m_values || m_children.size() != other.m_children.size())
        return false;
    auto a = m_children.begin();
    auto b = other.m_children.begin();
    for (; a != m_children.end(); ++a, ++b) {
        if (!(*a->second == *b->second))
            return false;
    }
    return true;
}

} // namespace mrb::platform
