// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/librarygenfuns.h"

namespace mrb::core
{

// LibraryGenFuns without the component library: InVar with the automation rules of
// platform::inVar. For mrb-list and for tests.
class LocalGenFuns : public LibraryGenFuns
{
public:
    bool inVar(const platform::Value &target, const std::vector<platform::Value> &list) override;
};

} // namespace mrb::core
