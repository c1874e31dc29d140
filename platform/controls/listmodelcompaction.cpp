// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/listmodel_p.h"

namespace mrb::platform
{

void ListModel::Impl::letGo(const Slot &s)
{
    if (!s.retired) {
        store.release(s.size());
        return;
    }
    if (--retiredRows == 0)
        retired.reset();
}

void ListModel::Impl::compactIfWasteful(Repack when)
{
    if (!store.wantsCompaction())
        return;
    retireStore();
    if (when == Repack::Now)
        repack(rows.size());
}

void ListModel::Impl::retireStore()
{
    repack(rows.size()); // one store is let go at a time
    retired = std::make_unique<RowStore>(std::move(store));
    store = RowStore(sharedFields);
    for (Slot &s : rows)
        s.retired = true;
    retiredRows = rows.size();
    repackCursor = 0;
    if (retiredRows == 0)
        retired.reset();
}

std::size_t ListModel::Impl::repack(std::size_t count)
{
    for (; count > 0 && retiredRows > 0; ++repackCursor) {
        if (repackCursor >= rows.size())
            repackCursor = 0;
        Slot &s = rows[repackCursor];
        if (!s.retired)
            continue;
        s.setBlock(store.pack(
            RowStore::fields(s.block), RowStore::values(s.block), s.icon(), s.smallIcon(), RowStore::makers(s.block)));
        --retiredRows;
        --count;
    }
    if (retiredRows == 0)
        retired.reset();
    return retiredRows;
}

} // namespace mrb::platform
