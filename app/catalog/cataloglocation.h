// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::core
{

// The catalog used when none is named: the address in $MRB_CATALOG (a file
// or a server), else catalog.db in the program's folder of the user's data
// ("$XDG_DATA_HOME/marrowby", by default ~/.local/share/marrowby).
std::string defaultCatalogPath();

} // namespace mrb::core
