// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/registry/namelists.h"

#include <cstdint>
#include <cstring>

namespace qfc
{

namespace
{

constexpr std::size_t longestName = 254;

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

std::string binaryValueText(std::string_view data)
{
    if (data.size() > 4)
        return {};
    unsigned char bytes[4] = {};
    std::memcpy(bytes, data.data(), data.size());
    const std::uint32_t n = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t {bytes[3]} << 24);
    return std::to_string(static_cast<std::int32_t>(n));
}

} // namespace qfc
