// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/cataloglocation.h"

#include "platform/fs/userfolders.h"

namespace mrb::core
{

std::string defaultCatalogPath()
{
    // a team's shared catalog, named once for the window and mrb-list alike
    if (std::string address = platform::environmentValue("MRB_CATALOG"); !address.empty())
        return address;
    return platform::userDataFolder() + "/marrowby/catalog.db";
}

} // namespace mrb::core
