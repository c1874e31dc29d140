// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classdefinition.h"

namespace qfc
{

// The class Registry: keys and values of the registry store. Its operations are QFC_REGISTRY_OPERATIONS.
class Registry final : public DispatchObject<Registry, QfcRegistry>
{
    QFC_CLASS_OPERATIONS(Registry, QFC_REGISTRY_OPERATIONS)
};

} // namespace qfc
