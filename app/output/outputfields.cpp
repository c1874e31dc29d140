// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/outputfields.h"

#include "app/browse/listingcells.h"
#include "platform/controls/listmodel.h"

namespace mrb::core
{

std::string_view fieldValue(const platform::ListModel &rows, std::size_t r, const OutputField &field)
{
    return cellText(rows, r, field.column);
}

} // namespace mrb::core
