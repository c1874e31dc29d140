// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/variant/value.h"

#include <vector>

namespace mrb::core
{

// The operation of the library's GenFuns class that the program calls; without
// the library, LocalGenFuns stands in.
class LibraryGenFuns
{
public:
    virtual ~LibraryGenFuns() = default;
    virtual bool inVar(const platform::Value &target, const std::vector<platform::Value> &list) = 0;
};

} // namespace mrb::core
