// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/listmodel_p.h"

#include <algorithm>
#include <stdexcept>

namespace mrb::platform
{

namespace
{

const ListColumn &emptyColumn()
{
    static const ListColumn column;
    return column;
}

} // namespace

ListModel::ListModel()
    : d(std::make_unique<Impl>())
{
}

ListModel::~ListModel() = default;

std::size_t ListModel::rowCount() const
{
    return d->rows.size();
}

std::size_t ListModel::append(const ListRow &row)
{
    // Room first, so the insertion below cannot fail once the row is packed.
    if (d->rows.size() == d->rows.capacity())
        d->rows.reserve(std::max<std::size_t>(16, d->rows.capacity() * 2));
    const Impl::Slot slot = d->makeSlot(row);
    if (row.selected)
        ++d->selectedCount;
    d->countedRows += slot.counted;
    if (d->keepsOrder() && !d->rows.empty() && d->before(slot, d->rows.back())) {
        const auto at = d->placeAfterEqual(d->rows.begin(), slot);
        const std::size_t r = static_cast<std::size_t>(at - d->rows.begin()) + 1;
        d->rows.insert(at, slot);
        d->invalidateIndex();
        d->notify([r](ListObserver &o) { o.rowsAppended(r, 1); });
        return r;
    }
    d->rows.push_back(slot);
    const std::size_t r = d->rows.size();
    d->indexAppended(r);
    d->notify([r](ListObserver &o) { o.rowsAppended(r, 1); });
    return r;
}

void ListModel::append(std::vector<ListRow> &&rows)
{
    append(std::span<const ListRow>(rows));
    rows.clear();
}

void ListModel::append(std::span<const ListRow> rows)
{
    if (rows.empty())
        return;
    if (d->keepsOrder()) {
        Impl::Slots fresh;
        bool merged = false;
        bool atEnd = false;
        const std::size_t first = d->rows.size() + 1;
        try {
            fresh.reserve(rows.size());
            for (const ListRow &row : rows)
                fresh.push_back(d->makeSlot(row));
            // The batch is sorted on its own and placed in one pass: never a
            // sort of the whole listing.
            if (fresh.size() > 1)
                fresh = d->inOrder(fresh);
            atEnd = d->mergeOrdered(fresh);
            merged = true;
        } catch (...) {
            // the listing is as it was; the new rows' blocks are dead
            if (!merged) {
                for (const Impl::Slot &slot : fresh)
                    d->letGo(slot);
            }
            throw;
        }
        for (const ListRow &row : rows) {
            if (row.selected)
                ++d->selectedCount;
        }
        for (const Impl::Slot &slot : fresh)
            d->countedRows += slot.counted;
        const std::size_t count = rows.size();
        if (atEnd) {
            d->indexAppended(first);
            d->notify([first, count](ListObserver &o) { o.rowsAppended(first, count); });
        } else {
            d->invalidateIndex();
            d->notify([](ListObserver &o) { o.rowsReset(); });
        }
        return;
    }
    const std::size_t first = d->rows.size() + 1;
    // Grow geometrically: many small batches must not copy the whole store each time.
    if (d->rows.size() + rows.size() > d->rows.capacity())
        d->rows.reserve(std::max(d->rows.size() + rows.size(), d->rows.capacity() * 2));
    const auto appended = [this, first] {
        d->indexAppended(first);
        const std::size_t count = d->rows.size() - first + 1;
        if (count > 0)
            d->notify([first, count](ListObserver &o) { o.rowsAppended(first, count); });
    };
    try {
        for (const ListRow &row : rows) {
            d->rows.push_back(d->makeSlot(row));
            if (row.selected)
                ++d->selectedCount;
            d->countedRows += d->rows.back().counted;
        }
    } catch (...) {
        // Out of memory part of the way: the rows packed so far stay, and
        // the index and the views learn of them.
        appended();
        throw;
    }
    appended();
}

ListRow ListModel::row(std::size_t r) const
{
    ListRow out;
    if (!d->valid(r))
        return out;
    const Impl::Slot &s = d->rows[r - 1];
    out.text = s.field(0);
    for (int k = 0; k < 6; ++k)
        out.subItems[static_cast<std::size_t>(k)] = d->fieldText(s, k + 1);
    out.subItemValues = RowStore::values(s.block);
    out.tag = s.tag();
    out.icon = s.icon();
    out.smallIcon = s.smallIcon();
    out.selected = s.selected;
    return out;
}

std::string_view ListModel::text(std::size_t r) const
{
    return d->valid(r) ? d->rows[r - 1].field(0) : std::string_view {};
}

std::string_view ListModel::subItem(std::size_t r, int k) const
{
    if (!d->valid(r) || k < 1 || k > 6)
        return {};
    return d->fieldText(d->rows[r - 1], k);
}

SortValue ListModel::subItemValue(std::size_t r, int k) const
{
    if (!d->valid(r) || k < 1 || k > 6)
        return std::nullopt;
    return d->rows[r - 1].subItemValue(k);
}

std::string ListModel::tag(std::size_t r) const
{
    return d->valid(r) ? d->rows[r - 1].tag() : std::string();
}

bool ListModel::tagStartsWith(std::size_t r, std::string_view prefix) const
{
    return d->valid(r) && d->rows[r - 1].tagStartsWith(prefix);
}

void ListModel::appendTag(std::size_t r, std::string &out) const
{
    if (d->valid(r))
        d->rows[r - 1].appendTag(out);
}

int ListModel::icon(std::size_t r) const
{
    return d->valid(r) ? d->rows[r - 1].icon() : 0;
}

int ListModel::smallIcon(std::size_t r) const
{
    return d->valid(r) ? d->rows[r - 1].smallIcon() : 0;
}

bool ListModel::isSelected(std::size_t r) const
{
    return d->valid(r) && d->rows[r - 1].selected;
}

void ListModel::setRow(std::size_t r, const ListRow &row)
{
    if (!d->valid(r))
        return;
    Impl::Slot &s = d->rows[r - 1];
    Impl::Slot fresh = d->makeSlot(row);
    if (fresh.tagHash != s.tagHash || !s.tagIs(row.tag))
        d->invalidateIndex();
    d->selectedCount = d->selectedCount - (s.selected ? 1 : 0) + (fresh.selected ? 1 : 0);
    d->countedRows = d->countedRows - s.counted + fresh.counted;
    const bool moves = d->keepsOrder() && d->sortKeyDiffers(fresh, s);
    d->letGo(s);
    s = fresh;
    d->compactIfWasteful();
    if (moves)
        d->moved(r);
    else
        d->notify([r](ListObserver &o) { o.rowChanged(r); });
}

void ListModel::setSubItem(std::size_t r, int k, std::string_view value)
{
    if (!d->valid(r) || k < 1 || k > 6)
        return;
    setSubItemCell(r, k, ListCell {std::string(value), d->rows[r - 1].subItemValue(k)});
}

void ListModel::setSubItemCell(std::size_t r, int k, const ListCell &cell)
{
    if (!d->valid(r) || k < 1 || k > 6)
        return;
    d->replaceField(d->rows[r - 1], k, cell.text, cell.value);
    d->compactIfWasteful();
    if (d->keepsOrder() && k == d->sortColumn)
        d->moved(r);
    else
        d->notify([r](ListObserver &o) { o.rowChanged(r); });
}

void ListModel::setSubItems(int k, const std::vector<std::optional<std::string>> &values)
{
    if (k < 1 || k > 6)
        return;
    std::vector<std::optional<ListCell>> cells(std::min(values.size(), d->rows.size()));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (values[i])
            cells[i] = ListCell {*values[i], d->rows[i].subItemValue(k)};
    }
    setSubItemCells(k, cells);
}

void ListModel::setSubItemCells(int k, const std::vector<std::optional<ListCell>> &cells)
{
    if (k < 1 || k > 6)
        return;
    const std::size_t n = std::min(cells.size(), d->rows.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < n; ++i) {
        if (!cells[i])
            continue;
        d->replaceField(d->rows[i], k, cells[i]->text, cells[i]->value);
        changed.push_back(i + 1);
    }
    d->compactIfWasteful();
    if (!changed.empty() && d->keepsOrder() && k == d->sortColumn) {
        // one sort of the rows as they stand, as a header click would give
        d->rows = d->inOrder(d->rows);
        d->invalidateIndex();
        d->notify([](ListObserver &o) { o.rowsReset(); });
        return;
    }
    for (const std::size_t r : changed)
        d->notify([r](ListObserver &o) { o.rowChanged(r); });
}

void ListModel::setSelected(std::size_t r, bool selected)
{
    if (!d->valid(r))
        return;
    Impl::Slot &s = d->rows[r - 1];
    if (s.selected == selected)
        return;
    s.selected = selected;
    if (selected)
        ++d->selectedCount;
    else
        --d->selectedCount;
    d->notify([r](ListObserver &o) { o.rowChanged(r); });
}

void ListModel::setAllSelected(bool selected)
{
    for (Impl::Slot &s : d->rows)
        s.selected = selected;
    d->selectedCount = selected ? d->rows.size() : 0;
    d->notify([](ListObserver &o) { o.selectionReset(); });
}

std::size_t ListModel::selectedCount() const
{
    return d->selectedCount;
}

void ListModel::countTagPrefix(std::string prefix)
{
    d->countedPrefix = std::move(prefix);
    d->countedRows = 0;
    for (Impl::Slot &s : d->rows) {
        s.counted = !d->countedPrefix.empty() && s.tagStartsWith(d->countedPrefix);
        d->countedRows += s.counted;
    }
}

std::size_t ListModel::countOfTagsStartingWith(std::string_view prefix) const
{
    if (!prefix.empty() && prefix == d->countedPrefix)
        return d->countedRows;
    std::size_t count = 0;
    for (const Impl::Slot &s : d->rows)
        count += s.tagStartsWith(prefix);
    return count;
}

std::size_t ListModel::findByTag(std::string_view tag) const
{
    return d->find(tag);
}

void ListModel::remove(std::size_t r)
{
    if (!d->valid(r))
        return;
    Impl::Slot &s = d->rows[r - 1];
    if (s.selected)
        --d->selectedCount;
    d->countedRows -= s.counted;
    d->letGo(s);
    d->rows.erase(d->rows.begin() + static_cast<std::ptrdiff_t>(r - 1));
    d->compactIfWasteful();
    // Rebuilt at the next look-up, so removing many rows one by one costs one
    // rebuild, not one per row.
    d->invalidateIndex();
    d->notify([r](ListObserver &o) { o.rowsRemoved(r, 1); });
}

std::size_t ListModel::removeIf(const std::function<bool(std::size_t)> &shouldRemove, Repack repack)
{
    // Ask about every row first, while the numbers still mean what the caller
    // expects, then take the rows out in one pass.
    std::vector<bool> doomed(d->rows.size());
    for (std::size_t r = 1; r <= d->rows.size(); ++r)
        doomed[r - 1] = shouldRemove(r);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < d->rows.size(); ++i) {
        Impl::Slot &s = d->rows[i];
        if (doomed[i]) {
            if (s.selected)
                --d->selectedCount;
            d->countedRows -= s.counted;
            d->letGo(s);
        } else {
            d->rows[kept++] = s;
        }
    }
    const std::size_t removed = d->rows.size() - kept;
    d->rows.resize(kept);
    d->compactIfWasteful(repack);
    if (removed > 0) {
        d->invalidateIndex();
        d->notify([](ListObserver &o) { o.rowsReset(); });
    }
    return removed;
}

std::size_t ListModel::repackStep(std::size_t count)
{
    return d->repack(count);
}

void ListModel::clear()
{
    d->freeAll();
    d->rows.shrink_to_fit();
    d->index = Impl::IndexTable();
    d->invalidateIndex();
    d->notify([](ListObserver &o) { o.rowsReset(); });
}

void ListModel::setValueText(int k, std::shared_ptr<const ValueText> maker)
{
    if (k < 1 || k > 6)
        return;
    std::uint16_t &current = d->currentMaker[static_cast<std::size_t>(k - 1)];
    if (!maker || d->makers.size() >= UINT16_MAX) {
        current = 0;
        return;
    }
    d->makers.push_back(std::move(maker));
    current = static_cast<std::uint16_t>(d->makers.size());
}

void ListModel::setColumns(std::vector<ListColumn> columns)
{
    // rows kept in order by text are not in order by value, nor the other way
    const bool wasByValue = d->sortsByValue();
    for (int k = 1; k <= 6; ++k) {
        const bool byValue = static_cast<std::size_t>(k) < columns.size()
            && columns[static_cast<std::size_t>(k)].sortBy == SortBy::Value;
        if (!byValue)
            d->keepTexts(k);
    }
    d->columns = std::move(columns);
    if (d->sortsByValue() != wasByValue)
        d->sorted = false;
    d->notify([](ListObserver &o) { o.columnsChanged(); });
}

std::size_t ListModel::columnCount() const
{
    return d->columns.size();
}

const ListColumn &ListModel::column(std::size_t c) const
{
    return (c >= 1 && c <= d->columns.size()) ? d->columns[c - 1] : emptyColumn();
}

void ListModel::setColumnWidth(std::size_t c, double twips)
{
    if (c < 1 || c > d->columns.size())
        return;
    d->columns[c - 1].widthTwips = twips;
    d->notify([](ListObserver &o) { o.columnsChanged(); });
}

void ListModel::setColumnHeaderIcon(std::size_t c, int icon)
{
    if (c < 1 || c > d->columns.size())
        return;
    d->columns[c - 1].headerIcon = icon;
    d->notify([](ListObserver &o) { o.columnsChanged(); });
}

int ListModel::sortColumn() const
{
    return d->sortColumn;
}

SortOrder ListModel::sortOrder() const
{
    return d->sortOrder;
}

void ListModel::setSortColumn(int column)
{
    // the rows are in the old order until the next sort()
    if (column != d->sortColumn)
        d->sorted = false;
    d->sortColumn = column;
}

void ListModel::setSortOrder(SortOrder order)
{
    if (order != d->sortOrder)
        d->sorted = false;
    d->sortOrder = order;
}

void ListModel::sort()
{
    if (d->sortColumn < 0 || d->sortColumn > 6)
        return;
    d->sorted = true;
    if (d->rows.size() < 2)
        return;
    d->rows = d->inOrder(d->rows);
    d->invalidateIndex();
    d->notify([](ListObserver &o) { o.rowsReset(); });
}

bool ListModel::isSorted() const
{
    return d->keepsOrder();
}

const std::string &ListModel::stamp() const
{
    return d->stamp;
}

void ListModel::setStamp(std::string stamp)
{
    d->stamp = std::move(stamp);
}

void ListModel::addObserver(ListObserver *observer)
{
    if (observer && std::find(d->observers.begin(), d->observers.end(), observer) == d->observers.end())
        d->observers.push_back(observer);
}

void ListModel::removeObserver(ListObserver *observer)
{
    d->observers.erase(std::remove(d->observers.begin(), d->observers.end(), observer), d->observers.end());
}

} // namespace mrb::platform
