// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace mrb::core
{

// Copies snapshots (every one when numbers is empty) from one catalog into
// another, in one transaction: all of them or none. Each keeps its header,
// its entries and their walk order; it gets the next number of the catalog
// it goes to. Fills copied with (old number, new number) pairs.
CatalogStatus copySnapshots(CatalogStore &from,
    CatalogStore &to,
    const std::vector<std::int64_t> &numbers,
    std::vector<std::pair<std::int64_t, std::int64_t>> &copied);

} // namespace mrb::core
