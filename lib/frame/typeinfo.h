// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/operation.h"

#include <span>

namespace qfc
{

// A new ITypeInfo (one reference, for the caller) that describes a dual
// interface from its dispatch table: a dispatch interface named name with
// the identifier iid, one function per operation with its dispatch number,
// the byte offset of its slot, its parameters (names, types, by reference,
// optional with their defaults) and its result. Nullptr when memory ran out.
void *makeTypeInfo(const char *name, const IID &iid, std::span<const Operation> operations);

} // namespace qfc
