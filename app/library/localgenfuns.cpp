// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/localgenfuns.h"

namespace mrb::core
{

bool LocalGenFuns::inVar(const platform::Value &target, const std::vector<platform::Value> &list)
{
    return platform::inVar(target, list);
}

} // namespace mrb::core
