// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/cataloglocation.h"

#include "platform/os/userfolders.h"

#include <cstdlib>

namespace mrb::core
{

std::string defaultCatalogPath()
{
    // a team's shared catalog, named once for the window and mrb-list alike
    if (const char *address = std::getenv("MRB_CATALOG"); address && *address)
        return address;
    return platform::userFolder(platform::UserFolder::Data) + "/marrowby/catalog.db";
}

} // namespace mrb::core
