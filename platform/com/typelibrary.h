// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::platform
{

// The ITypeInfo of one interface (its identifier in registry form) in the
// type library that file carries as its resource: one reference, for the
// caller; nullptr when the file or the interface cannot be found.
void *typeInfoFromFile(const std::string &file, const std::string &iid);

} // namespace mrb::platform
