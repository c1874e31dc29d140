// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/controls/listmodel.h"

#include "platform/controls/largeblocks.h"
#include "platform/controls/rowstore.h"
#include "platform/controls/textorder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace mrb::platform
{

namespace
{

// A row's eight texts, in this order, are packed in a RowStore: the item
// text, the six sub-items, then the tag; the sub-items' sort values follow. A tag that is a full path made of
// the first sub-item (the folder) and the item text is stored as what comes
// before that path only ("" or a marker): most rows' tags cost no bytes of
// their own. The folder and the type (the first and third sub-items) repeat
// over many rows and are kept once for all of them.
constexpr int fieldCount = RowStore::fieldCount;
constexpr int tagField = 7;
constexpr std::uint32_t sharedFields = (1u << 1) | (1u << 3);

std::uint32_t hashTag(std::string_view tag)
{
    const std::size_t h = std::hash<std::string_view> {}(tag);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

const ListColumn &emptyColumn()
{
    static const ListColumn column;
    return column;
}

// Whether tag is prefix + path + "/" + text (no "/" added when path ends
// with one), and then the prefix.
bool splitTag(std::string_view tag, std::string_view text, std::string_view path, std::string_view &prefix)
{
    if (text.empty() || !tag.ends_with(text))
        return false;
    std::string_view rest = tag.substr(0, tag.size() - text.size());
    if (!path.ends_with('/')) {
        if (!rest.ends_with('/'))
            return false;
        rest.remove_suffix(1);
    }
    if (!rest.ends_with(path))
        return false;
    prefix = rest.substr(0, rest.size() - path.size());
    return true;
}

} // namespace

struct ListModel::Impl {
    struct Slot {
        static constexpr std::uint16_t largeBlock = 0xFFFF;

        const char *block = nullptr; // in the listing's RowStore, or the retired one
        std::uint32_t tagHash = 0;
        std::uint16_t bytes = 0; // the block's size, up to largeBlock (then the block tells)
        bool selected : 1 = false;
        bool joinedTag : 1 = false; // the block keeps only the tag's prefix (see splitTag)
        bool retired : 1 = false; // the block waits in the retired store to be re-packed

        std::size_t size() const { return bytes == largeBlock ? RowStore::packedSize(block) : bytes; }
        void setBlock(RowStore::Packed packed)
        {
            block = packed.block;
            bytes = static_cast<std::uint16_t>(std::min<std::size_t>(packed.bytes, largeBlock));
            retired = false;
        }

        std::string_view field(int f) const { return RowStore::field(block, f); }
        SortValue subItemValue(int k) const { return RowStore::value(block, k - 1); }
        int icon() const { return RowStore::icon(block); }
        int smallIcon() const { return RowStore::smallIcon(block); }
        std::string tag() const
        {
            std::string out;
            appendTag(out);
            return out;
        }
        void appendTag(std::string &out) const
        {
            out += field(tagField);
            if (!joinedTag)
                return;
            const std::string_view path = field(1);
            out += path;
            if (!path.ends_with('/'))
                out += '/';
            out += field(0);
        }
        // Whether the tag begins with prefix, without making the tag.
        bool tagStartsWith(std::string_view prefix) const
        {
            if (!joinedTag)
                return field(tagField).starts_with(prefix);
            const std::string_view path = field(1);
            const std::string_view parts[] = {field(tagField), path, path.ends_with('/') ? "" : "/", field(0)};
            for (const std::string_view part : parts) {
                const std::size_t n = std::min(part.size(), prefix.size());
                if (part.substr(0, n) != prefix.substr(0, n))
                    return false;
                prefix.remove_prefix(n);
            }
            return prefix.empty();
        }
        bool tagIs(std::string_view t) const
        {
            if (!joinedTag)
                return field(tagField) == t;
            const std::string_view prefix = field(tagField);
            const std::string_view path = field(1);
            const std::string_view text = field(0);
            const std::size_t slash = path.ends_with('/') ? 0 : 1;
            return t.size() == prefix.size() + path.size() + slash + text.size() && t.starts_with(prefix)
                && t.substr(prefix.size(), path.size()) == path && (slash == 0 || t[prefix.size() + path.size()] == '/')
                && t.ends_with(text);
        }
    };
    // a million rows cost this much each besides their texts
    static_assert(sizeof(Slot) == 16);
    using Slots = std::vector<Slot, LargeAllocator<Slot>>;

    // Open addressing with linear probing. The table only ever holds the first
    // row of each tag; it is rebuilt after anything that moves rows.
    struct IndexEntry {
        std::uint32_t hash;
        std::uint32_t rowPlusOne; // 0: free
    };

    Slots rows;
    RowStore store {sharedFields};
    // A store that is mostly dead, let go once its last live row is re-packed
    // into `store` (see retireStore).
    std::unique_ptr<RowStore> retired;
    std::size_t retiredRows = 0; // rows whose blocks are still in it
    std::size_t repackCursor = 0;
    std::vector<IndexEntry, LargeAllocator<IndexEntry>> index;
    bool indexValid = true;
    std::size_t selectedCount = 0;
    std::vector<ListColumn> columns;
    int sortColumn = 0;
    SortOrder sortOrder = SortOrder::Ascending;
    bool sorted = false; // since the first sort(): rows are kept in order
    std::string stamp;
    std::vector<ListObserver *> observers;
    // Every maker given (number m at m - 1), kept while rows may use them,
    // and the one per sub-item that serves new rows (0 for none).
    std::vector<std::shared_ptr<const ValueText>> makers;
    std::array<std::uint16_t, 6> currentMaker {};
    std::string madeScratch;
    mutable std::array<std::string, 8> madeTexts;
    mutable std::size_t nextMade = 0;

    // Field f's text (0 the item text, 1..6 the sub-items), made from its
    // value where the row keeps only that.
    std::string_view fieldText(const Slot &s, int f) const
    {
        const std::uint16_t maker = f >= 1 && f <= 6 ? RowStore::makers(s.block)[static_cast<std::size_t>(f)] : 0;
        if (maker == 0)
            return s.field(f);
        std::string &out = madeTexts[nextMade++ % madeTexts.size()];
        out.clear();
        if (const SortValue value = s.subItemValue(f))
            makers[maker - 1u]->append(*value, out);
        return out;
    }
    // Rows that keep only sub-item k's value get its text back (the column
    // stops sorting by value, and rows keep no values there).
    void keepTexts(int k)
    {
        currentMaker[static_cast<std::size_t>(k - 1)] = 0;
        if (makers.empty())
            return;
        for (Slot &s : rows) {
            if (RowStore::makers(s.block)[static_cast<std::size_t>(k)] == 0)
                continue;
            const std::string text(fieldText(s, k));
            replaceField(s, k, text);
        }
    }

    // Which of a row's sub-items keep their value alone: those that did
    // (kept), and those whose text the column's maker makes exactly.
    RowStore::Makers madeFields(const RowStore::Texts &texts, const RowStore::Values &values, RowStore::Makers kept)
    {
        for (int k = 1; k <= 6; ++k) {
            std::uint16_t &maker = kept[static_cast<std::size_t>(k)];
            const SortValue &value = values[static_cast<std::size_t>(k - 1)];
            if (!value) {
                maker = 0;
                continue;
            }
            const std::uint16_t current = currentMaker[static_cast<std::size_t>(k - 1)];
            if (maker != 0 || current == 0 || texts[static_cast<std::size_t>(k)].empty())
                continue;
            madeScratch.clear();
            makers[current - 1u]->append(*value, madeScratch);
            if (madeScratch == texts[static_cast<std::size_t>(k)])
                maker = current;
        }
        return kept;
    }

    ~Impl() { freeAll(); }

    void freeAll()
    {
        rows.clear();
        store.clear();
        retired.reset();
        retiredRows = 0;
        selectedCount = 0;
    }

    // texts[tagField] is the whole tag; s.joinedTag tells how it was kept.
    // Only the values of columns that sort by value are kept: a listing
    // that never sorts by value spends no bytes on them.
    void pack(Slot &s,
        RowStore::Texts texts,
        RowStore::Values values,
        int icon,
        int smallIcon,
        const RowStore::Makers &kept = {})
    {
        std::string_view prefix;
        s.joinedTag = splitTag(texts[tagField], texts[0], texts[1], prefix);
        if (s.joinedTag)
            texts[tagField] = prefix;
        for (std::size_t v = 0; v < values.size(); ++v) {
            if (!columnSortsByValue(static_cast<int>(v) + 1))
                values[v].reset();
        }
        s.setBlock(store.pack(texts, values, icon, smallIcon, madeFields(texts, values, kept)));
    }

    // Slot s, no longer in the rows or about to get a new block, lets go of its bytes.
    void letGo(const Slot &s)
    {
        if (!s.retired) {
            store.release(s.size());
            return;
        }
        if (--retiredRows == 0)
            retired.reset();
    }

    // Row s, whose texts change, gets a new block with text `value` in field
    // k, and, when given, sub-item k's sort value.
    void replaceField(Slot &s, int k, std::string_view value, const std::optional<SortValue> &sortValue = std::nullopt)
    {
        const std::string tag = s.tag();
        RowStore::Texts texts = RowStore::fields(s.block);
        texts[static_cast<std::size_t>(k)] = value;
        texts[tagField] = tag;
        RowStore::Values values = RowStore::values(s.block);
        if (sortValue && k >= 1)
            values[static_cast<std::size_t>(k - 1)] = *sortValue;
        RowStore::Makers kept = RowStore::makers(s.block);
        kept[static_cast<std::size_t>(k)] = 0;
        const Slot old = s;
        pack(s, texts, values, s.icon(), s.smallIcon(), kept);
        letGo(old);
    }

    // Once most of the store's bytes belong to rows that were removed or
    // changed, a fresh store takes its place and the live rows move over,
    // at once or a number at a time (repack): for a million rows, moving all
    // of them at once would hold up the window.
    void compactIfWasteful(Repack when = Repack::Now)
    {
        if (!store.wantsCompaction())
            return;
        retireStore();
        if (when == Repack::Now)
            repack(rows.size());
    }
    void retireStore()
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

    // Moves up to count rows out of the retired store; returns how many are
    // left there. Rows may have moved between two calls, so the walk goes
    // round until it has found them all.
    std::size_t repack(std::size_t count)
    {
        for (; count > 0 && retiredRows > 0; ++repackCursor) {
            if (repackCursor >= rows.size())
                repackCursor = 0;
            Slot &s = rows[repackCursor];
            if (!s.retired)
                continue;
            s.setBlock(store.pack(RowStore::fields(s.block),
                RowStore::values(s.block),
                s.icon(),
                s.smallIcon(),
                RowStore::makers(s.block)));
            --retiredRows;
            --count;
        }
        if (retiredRows == 0)
            retired.reset();
        return retiredRows;
    }

    Slot makeSlot(const ListRow &row)
    {
        RowStore::Texts texts;
        texts[0] = row.text;
        for (int k = 0; k < 6; ++k)
            texts[static_cast<std::size_t>(k + 1)] = row.subItems[static_cast<std::size_t>(k)];
        texts[tagField] = row.tag;
        Slot s;
        pack(s, texts, row.subItemValues, row.icon, row.smallIcon);
        s.tagHash = hashTag(row.tag);
        s.selected = row.selected;
        return s;
    }

    bool valid(std::size_t r) const { return r >= 1 && r <= rows.size(); }

    std::size_t capacityFor(std::size_t count) const
    {
        // Load kept at or below 0.7.
        std::size_t cap = 16;
        while (cap * 7 < count * 10)
            cap *= 2;
        return cap;
    }

    // Inserts row number r (1-based) unless an earlier row holds the same tag.
    void indexInsert(std::size_t r) { indexInsert({rows[r - 1].tagHash, static_cast<std::uint32_t>(r)}); }
    // The row itself is read only when an entry with the same hash is met.
    void indexInsert(IndexEntry entry)
    {
        const std::size_t mask = index.size() - 1;
        std::size_t i = homeOf(entry.hash, mask);
        while (index[i].rowPlusOne != 0) {
            const IndexEntry &e = index[i];
            if (e.hash == entry.hash && rows[e.rowPlusOne - 1].tagIs(rows[entry.rowPlusOne - 1].tag()))
                return;
            i = (i + 1) & mask;
        }
        index[i] = entry;
    }

    static std::size_t homeOf(std::uint32_t hash, std::size_t mask) { return (hash * 0x9E3779B1u) & mask; }

    void rebuildIndex()
    {
        index.assign(capacityFor(rows.size()), IndexEntry {0, 0});
        const std::size_t mask = index.size() - 1;
        // Rows go in by the region of the table their tags land in, so the
        // table is filled region by region rather than at random: a table
        // larger than the caches then costs no cache miss per row. A stable
        // counting sort on the top bits of the home slot keeps rows of equal
        // tags in row order, so the first of them is the one found. The
        // entries carry their hashes, so the rows are read in order, once.
        constexpr int regionBits = 11;
        const int shift = std::max(0, std::countr_zero(index.size()) - regionBits);
        std::vector<std::uint32_t> start((std::size_t {1} << regionBits) + 1, 0);
        for (const Slot &s : rows)
            ++start[(homeOf(s.tagHash, mask) >> shift) + 1];
        for (std::size_t g = 1; g < start.size(); ++g)
            start[g] += start[g - 1];
        std::vector<IndexEntry, LargeAllocator<IndexEntry>> order(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::uint32_t hash = rows[i].tagHash;
            order[start[homeOf(hash, mask) >> shift]++] = {hash, static_cast<std::uint32_t>(i + 1)};
        }
        for (const IndexEntry &entry : order)
            indexInsert(entry);
        indexValid = true;
    }

    // Keeps the index current for rows appended from number first on.
    void indexAppended(std::size_t first)
    {
        if (!indexValid)
            return;
        if (capacityFor(rows.size()) > index.size()) {
            indexValid = false; // rebuilt, larger, at the next look-up
            return;
        }
        for (std::size_t r = first; r <= rows.size(); ++r)
            indexInsert(r);
    }

    std::size_t find(std::string_view tag)
    {
        if (rows.empty())
            return 0;
        if (!indexValid)
            rebuildIndex();
        const std::uint32_t h = hashTag(tag);
        const std::size_t mask = index.size() - 1;
        for (std::size_t i = homeOf(h, mask); index[i].rowPlusOne != 0; i = (i + 1) & mask) {
            const IndexEntry &e = index[i];
            if (e.hash == h && rows[e.rowPlusOne - 1].tagIs(tag))
                return e.rowPlusOne;
        }
        return 0;
    }

    bool keepsOrder() const { return sorted && sortColumn >= 0 && sortColumn <= 6; }

    // Whether sub-item k's column sorts by value.
    bool columnSortsByValue(int k) const
    {
        return k >= 1 && k <= 6 && static_cast<std::size_t>(k) < columns.size()
            && columns[static_cast<std::size_t>(k)].sortBy == SortBy::Value;
    }
    // Whether the sort column is a sub-item's whose column sorts by value.
    bool sortsByValue() const { return columnSortsByValue(sortColumn); }

    // Whether a comes strictly before b in the listing's order. Equal texts
    // (values) are not ordered here: their order is where they were.
    bool before(const Slot &a, const Slot &b) const
    {
        const bool ascending = sortOrder == SortOrder::Ascending;
        if (sortsByValue()) {
            const SortValue x = a.subItemValue(sortColumn);
            const SortValue y = b.subItemValue(sortColumn);
            // a row without a value comes after every row with one
            if (!x || !y)
                return x && !y;
            return ascending ? *x < *y : *x > *y;
        }
        const int c = compareTexts(a.field(sortColumn), b.field(sortColumn), 0);
        return ascending ? c < 0 : c > 0;
    }

    // Whether a row changed where the listing's order looks.
    bool sortKeyDiffers(const Slot &a, const Slot &b) const
    {
        if (sortsByValue())
            return a.subItemValue(sortColumn) != b.subItemValue(sortColumn);
        return a.field(sortColumn) != b.field(sortColumn);
    }

    // The first row in [from, rows.end()) that comes after s, found by
    // galloping from `from`: cheap when it is near, as in a merge.
    Slots::iterator placeAfterEqual(Slots::iterator from, const Slot &s)
    {
        const auto comesAfter = [this](const Slot &x, const Slot &y) { return before(x, y); };
        std::size_t step = 1;
        while (true) {
            const auto probeEnd = static_cast<std::size_t>(rows.end() - from) > step
                ? from + static_cast<std::ptrdiff_t>(step)
                : rows.end();
            if (probeEnd == rows.end() || before(s, *(probeEnd - 1)))
                return std::upper_bound(from, probeEnd, s, comesAfter);
            from = probeEnd;
            step *= 2;
        }
    }

    // The rows ordered by one field's texts, stably: the order a sort gives.
    static Slots ordered(const Slots &rows, int field, bool ascending);
    // The rows ordered by sub-item k's sort values, stably, rows without one last.
    static Slots orderedByValue(const Slots &rows, int k, bool ascending);
    // The rows in the listing's order, as a sort gives it.
    Slots inOrder(const Slots &of) const
    {
        const bool ascending = sortOrder == SortOrder::Ascending;
        return sortsByValue() ? orderedByValue(of, sortColumn, ascending) : ordered(of, sortColumn, ascending);
    }

    // Merges rows that are already in the listing's order into it: each goes
    // after the rows whose texts equal its own, as a stable sort of the old
    // rows followed by the new ones would place it. Returns whether all of
    // them went to the end.
    bool mergeOrdered(const Slots &fresh)
    {
        if (rows.empty() || !before(fresh.front(), rows.back())) {
            rows.insert(rows.end(), fresh.begin(), fresh.end());
            return true;
        }
        Slots merged;
        merged.reserve(rows.size() + fresh.size());
        auto from = rows.begin();
        for (const Slot &s : fresh) {
            const auto at = placeAfterEqual(from, s);
            merged.insert(merged.end(), from, at);
            merged.push_back(s);
            from = at;
        }
        merged.insert(merged.end(), from, rows.end());
        rows.swap(merged);
        return false;
    }

    // Row r (1-based) whose sort text changed goes to its place, keeping its
    // order among the rows that share its new text; its new number.
    std::size_t reposition(std::size_t r)
    {
        const Slot moving = rows[r - 1];
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(r - 1));
        const auto comesAfter = [this](const Slot &x, const Slot &y) { return before(x, y); };
        const auto lo = std::lower_bound(rows.begin(), rows.end(), moving, comesAfter);
        const auto hi = std::upper_bound(lo, rows.end(), moving, comesAfter);
        const std::size_t at =
            std::clamp(r - 1, static_cast<std::size_t>(lo - rows.begin()), static_cast<std::size_t>(hi - rows.begin()));
        // the size is what it was, so no allocation and nothing can throw
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), moving);
        return at + 1;
    }

    // Puts row r, whose sort text changed, in its place and tells the observers.
    void moved(std::size_t r)
    {
        const std::size_t to = reposition(r);
        if (to == r) {
            notify([r](ListObserver &o) { o.rowChanged(r); });
            return;
        }
        indexValid = false;
        notify([r](ListObserver &o) { o.rowsRemoved(r, 1); });
        notify([to](ListObserver &o) { o.rowsAppended(to, 1); });
    }

    template <typename F> void notify(F &&f)
    {
        // A copy, so an observer may remove itself while being told.
        const auto copy = observers;
        for (ListObserver *o : copy)
            f(*o);
    }
};

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
    if (d->keepsOrder() && !d->rows.empty() && d->before(slot, d->rows.back())) {
        const auto at = d->placeAfterEqual(d->rows.begin(), slot);
        const std::size_t r = static_cast<std::size_t>(at - d->rows.begin()) + 1;
        d->rows.insert(at, slot);
        d->indexValid = false;
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
        const std::size_t count = rows.size();
        if (atEnd) {
            d->indexAppended(first);
            d->notify([first, count](ListObserver &o) { o.rowsAppended(first, count); });
        } else {
            d->indexValid = false;
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
        d->indexValid = false;
    d->selectedCount = d->selectedCount - (s.selected ? 1 : 0) + (fresh.selected ? 1 : 0);
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
        d->indexValid = false;
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
    d->letGo(s);
    d->rows.erase(d->rows.begin() + static_cast<std::ptrdiff_t>(r - 1));
    d->compactIfWasteful();
    // Rebuilt at the next look-up, so removing many rows one by one costs one
    // rebuild, not one per row.
    d->indexValid = false;
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
            d->letGo(s);
        } else {
            d->rows[kept++] = s;
        }
    }
    const std::size_t removed = d->rows.size() - kept;
    d->rows.resize(kept);
    d->compactIfWasteful(repack);
    if (removed > 0) {
        d->indexValid = false;
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
    d->index.clear();
    d->index.shrink_to_fit();
    d->indexValid = false;
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
    d->indexValid = false;
    d->notify([](ListObserver &o) { o.rowsReset(); });
}

bool ListModel::isSorted() const
{
    return d->keepsOrder();
}

ListModel::Impl::Slots ListModel::Impl::ordered(const Slots &rows, int field, bool ascending)
{
    const auto keyOf = [&rows, field](std::size_t i) {
        const std::string_view text = rows[i].field(field);
        SortKey key {};
        key.text = text.data();
        key.size = static_cast<std::uint32_t>(text.size());
        key.row = static_cast<std::uint32_t>(i);
        return key;
    };
    // Once the rows are sorted by another column, each row's text lies at a
    // random place in memory, and reaching it is the costly part of a sort:
    // the first pass prepares every key where it reaches the text, after the
    // beginning that all texts share (the folder of a Path column), which is
    // guessed from a sample and checked on every text. A wrong guess is given
    // up for the whole pass.
    std::size_t skip = 0;
    if (rows.size() > 16) {
        const SortKey lead = keyOf(0);
        skip = lead.size;
        for (std::size_t s = 1; s < 16 && skip > 0; ++s)
            skip = agreeingBytes(lead, keyOf(s * (rows.size() - 1) / 15), 0, skip);
    }
    std::vector<SortKey, LargeAllocator<SortKey>> keys(rows.size());
    constexpr std::size_t ahead = 16; // rows whose memory is asked for before it is needed
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + ahead < rows.size()) {
            const char *block = rows[i + ahead].block;
            __builtin_prefetch(block);
            __builtin_prefetch(block + 64);
        }
        keys[i] = keyOf(i);
        if (skip > 0 && agreeingBytes(keys[0], keys[i], 0, skip) < skip) {
            skip = 0;
            for (std::size_t j = 0; j < i; ++j)
                prepareKey(keys[j], 0);
        }
        prepareKey(keys[i], skip);
    }
    sortKeys(keys, skip, ascending);

    Slots sorted;
    sorted.reserve(rows.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i + 16 < keys.size())
            __builtin_prefetch(&rows[keys[i + 16].row]);
        sorted.push_back(rows[keys[i].row]);
    }
    return sorted;
}

ListModel::Impl::Slots ListModel::Impl::orderedByValue(const Slots &rows, int k, bool ascending)
{
    // One number per row that sorts as the listing's order does: the value
    // with its sign bit flipped (so it compares as unsigned), every bit
    // flipped again for a descending order; rows without a value are a group
    // of their own after the rest, and the row number breaks ties.
    struct Key {
        std::uint64_t order;
        std::uint32_t missing;
        std::uint32_t row;
        bool operator<(const Key &other) const
        {
            if (missing != other.missing)
                return missing < other.missing;
            if (order != other.order)
                return order < other.order;
            return row < other.row;
        }
    };
    std::vector<Key, LargeAllocator<Key>> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + 16 < rows.size())
            __builtin_prefetch(rows[i + 16].block);
        const SortValue v = rows[i].subItemValue(k);
        const std::uint64_t flipped = v ? static_cast<std::uint64_t>(*v) ^ (std::uint64_t {1} << 63) : 0;
        keys[i] = {ascending ? flipped : ~flipped, v ? 0u : 1u, static_cast<std::uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end());
    Slots sorted;
    sorted.reserve(rows.size());
    for (const Key &key : keys)
        sorted.push_back(rows[key.row]);
    return sorted;
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
