// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classdefinition.h"

namespace qfc
{

// The class GenFuns: general helpers, among them the list-membership test
// InVar that the program uses. Its operations are QFC_GENFUNS_OPERATIONS.
class GenFuns final : public DispatchObject<GenFuns, QfcGenFuns>
{
    QFC_CLASS_OPERATIONS(GenFuns, QFC_GENFUNS_OPERATIONS)
};

} // namespace qfc
