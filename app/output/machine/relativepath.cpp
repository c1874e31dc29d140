// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/relativepath.h"

#include <vector>

namespace mrb::core
{

namespace
{

std::vector<std::string_view> elementsOf(std::string_view path)
{
    std::vector<std::string_view> elements;
    while (!path.empty()) {
        const auto slash = path.find('/');
        const std::string_view element = path.substr(0, slash);
        if (!element.empty())
            elements.push_back(element);
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return elements;
}

} // namespace

std::string relativePath(std::string_view folder, std::string_view target)
{
    const std::vector<std::string_view> from = elementsOf(folder);
    const std::vector<std::string_view> to = elementsOf(target);
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common])
        ++common;
    std::string relative;
    for (std::size_t i = common; i < from.size(); ++i)
        relative += "../";
    for (std::size_t i = common; i < to.size(); ++i) {
        relative += to[i];
        relative += '/';
    }
    if (relative.empty())
        return ".";
    relative.pop_back();
    return relative;
}

} // namespace mrb::core
