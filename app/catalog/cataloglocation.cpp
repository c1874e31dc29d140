// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/cataloglocation.h"

#include "platform/fs/userfolders.h"

namespace mrb::core
{

std::string defaultCatalogPath()
{
    return platform::userDataFolder() + "/marrowby/catalog.db";
}

} // namespace mrb::core
