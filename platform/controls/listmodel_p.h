// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The inside of ListModel, shared by the files that hold its parts.
#pragma once

#include "platform/controls/largearray.h"
#include "platform/controls/largeblocks.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/rowstore.h"
#include "platform/controls/textorder.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace mrb::platform
{

// A row's eight texts, in this order, are packed in a RowStore: the item
// text, the six sub-items, then the tag; the sub-items' sort values follow. A tag that is a full path made of
// the first sub-item (the folder) and the item text is stored as what comes
// before that path only ("" or a marker): most rows' tags cost no bytes of
// their own. The folder and the type (the first and third sub-items) repeat
// over many rows and are kept once for all of them.
inline constexpr int fieldCount = RowStore::fieldCount;
inline constexpr int tagField = 7;
inline constexpr std::uint32_t sharedFields = (1u << 1) | (1u << 3);

inline std::uint32_t hashTag(std::string_view tag)
{
    const std::size_t h = std::hash<std::string_view> {}(tag);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// Whether tag is prefix + path + "/" + text (no "/" added when path ends
// with one), and then the prefix.
inline bool splitTag(std::string_view tag, std::string_view text, std::string_view path, std::string_view &prefix)
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

struct ListModel::Impl {
    struct Slot {
        static constexpr std::uint16_t largeBlock = 0xFFFF;

        const char *block = nullptr; // in the listing's RowStore, or the retired one
        std::uint32_t tagHash = 0;
        std::uint16_t bytes = 0; // the block's size, up to largeBlock (then the block tells)
        bool selected : 1 = false;
        bool joinedTag : 1 = false; // the block keeps only the tag's prefix (see splitTag)
        bool retired : 1 = false; // the block waits in the retired store to be re-packed
        bool counted : 1 = false; // the tag begins with the prefix the listing counts

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
    using Slots = LargeArray<Slot>;

    // Open addressing with linear probing. The table only ever holds the first
    // row of each tag; it is rebuilt after anything that moves rows.
    struct IndexEntry {
        std::uint32_t hash;
        std::uint32_t rowPlusOne; // 0: free
    };

    using IndexTable = LargeArray<IndexEntry>;

    Slots rows;
    RowStore store {sharedFields};
    // A store that is mostly dead, let go once its last live row is re-packed
    // into `store` (see retireStore).
    std::unique_ptr<RowStore> retired;
    std::size_t retiredRows = 0; // rows whose blocks are still in it
    std::size_t repackCursor = 0;
    IndexTable index;
    bool indexValid = true;
    // The larger table that takes the index's place once the listing has
    // outgrown it, made ready a slice at each append (growIndexStep): made
    // at once, it would hold up the window for most of a second at millions
    // of rows. Empty while none is being made.
    IndexTable nextIndex;
    std::size_t nextIndexCleared = 0; // its first entries made free
    std::size_t nextIndexRows = 0; // rows 1..nextIndexRows inserted into it
    std::size_t selectedCount = 0;
    std::string countedPrefix; // empty: none counted
    std::size_t countedRows = 0;
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
        // a listing that was never given a maker keeps every text: no need to read the row's makers
        if (makers.empty())
            return s.field(f);
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
        countedRows = 0;
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
    void letGo(const Slot &s);

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
    void compactIfWasteful(Repack when = Repack::Now);
    void retireStore();

    // Moves up to count rows out of the retired store; returns how many are
    // left there. Rows may have moved between two calls, so the walk goes
    // round until it has found them all.
    std::size_t repack(std::size_t count);

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
        s.counted = !countedPrefix.empty() && row.tag.starts_with(countedPrefix);
        return s;
    }

    bool valid(std::size_t r) const { return r >= 1 && r <= rows.size(); }

    std::size_t capacityFor(std::size_t count) const;

    // Inserts row number r (1-based) unless an earlier row holds the same tag.
    void indexInsert(IndexTable &table, std::size_t r)
    {
        indexInsert(table, {rows[r - 1].tagHash, static_cast<std::uint32_t>(r)});
    }
    // The row itself is read only when an entry with the same hash is met.
    void indexInsert(IndexTable &table, IndexEntry entry);

    static std::size_t homeOf(std::uint32_t hash, std::size_t mask) { return (hash * 0x9E3779B1u) & mask; }

    // Inserts rows first..last (1-based) region by region of the table.
    void insertByRegion(IndexTable &table, std::size_t first, std::size_t last);
    void rebuildIndex();

    // Keeps the index current for rows appended from number first on.
    void indexAppended(std::size_t first);
    // Makes the next table ready by one slice of about work entries, and
    // puts it in the index's place once it holds every row.
    void growIndexStep(std::size_t work);
    // The index is rebuilt at the next look-up; a next table is given up.
    void invalidateIndex()
    {
        indexValid = false;
        dropNextIndex();
    }
    void dropNextIndex()
    {
        nextIndex = IndexTable();
        nextIndexCleared = 0;
        nextIndexRows = 0;
    }

    std::size_t find(std::string_view tag);

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
    Slots::iterator placeAfterEqual(Slots::iterator from, const Slot &s);

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
    bool mergeOrdered(const Slots &fresh);

    // Row r (1-based) whose sort text changed goes to its place, keeping its
    // order among the rows that share its new text; its new number.
    std::size_t reposition(std::size_t r);

    // Puts row r, whose sort text changed, in its place and tells the observers.
    void moved(std::size_t r)
    {
        const std::size_t to = reposition(r);
        if (to == r) {
            notify([r](ListObserver &o) { o.rowChanged(r); });
            return;
        }
        invalidateIndex();
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

} // namespace mrb::platform
