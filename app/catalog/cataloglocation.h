// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mrb::core
{

// The catalog used when none is named: catalog.db in the program's folder of
// the user's data ("$XDG_DATA_HOME/marrowby", by default ~/.local/share/marrowby).
std::string defaultCatalogPath();

} // namespace mrb::core
