// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classfactory.h"

#include <span>

namespace qfc
{

// The library's five public classes: GenFuns, APIFuns, TxtFile, Base64, Registry.
std::span<const ClassInfo> libraryClasses();

} // namespace qfc
