// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::platform
{

// A number a sub-item sorts by instead of its text, where its column sorts
// by value (a size in bytes, a time); empty when the row has none there.
using SortValue = std::optional<std::int64_t>;

// One row as callers build or read it: the item text (column 1), six sub-item
// texts (columns 2 to 7) with their sort values, a hidden tag, icon indexes
// and the selected flag.
struct ListRow {
    std::string text;
    std::array<std::string, 6> subItems;
    std::string tag;
    int icon = 0;
    int smallIcon = 0;
    bool selected = false;
    std::array<SortValue, 6> subItemValues {};
};

// What a column's rows are ordered by: their texts, or their sort values
// (rows without one after all that have one, in either order). Rows keep the
// sort values of these columns only.
enum class SortBy { Text, Value };

struct ListColumn {
    std::string header;
    double widthTwips = 0; // 0 hides the column
    std::string tag;
    int headerIcon = 0; // 0 for none
    SortBy sortBy = SortBy::Text;
};

// A sub-item's text and sort value, set together.
struct ListCell {
    std::string text;
    SortValue value;
};

enum class SortOrder { Ascending, Descending };

// Makes a sub-item's text from its sort value: a date text from the time, a
// size text from the byte count.
class ValueText
{
public:
    virtual ~ValueText() = default;
    virtual void append(std::int64_t value, std::string &out) const = 0;
};

// Told about every change, so a view can follow the model.
class ListObserver
{
public:
    virtual ~ListObserver() = default;
    // Rows now numbered first (1-based) to first + count - 1 are new: at the
    // end, or where a sorted listing placed them.
    virtual void rowsAppended(std::size_t first, std::size_t count) = 0;
    virtual void rowsRemoved(std::size_t first, std::size_t count) = 0;
    virtual void rowsReset() = 0; // all rows replaced, removed or re-ordered
    virtual void rowChanged(std::size_t row) = 0; // texts, icons or selection of one row
    virtual void selectionReset() = 0; // selection of many rows changed
    virtual void columnsChanged() = 0;
};

// A list control's contents in report view, without any widget: rows numbered
// from 1 in display order, columns, sort column and order. Finding a row by tag
// is a hash look-up. Rows are stored compactly (one buffer per row, and a tag
// that is the row's folder and text joined into a full path is not stored
// twice) so a listing of a million rows stays small.
class ListModel
{
public:
    ListModel();
    ~ListModel();
    ListModel(const ListModel &) = delete;
    ListModel &operator=(const ListModel &) = delete;

    std::size_t rowCount() const;
    bool empty() const { return rowCount() == 0; }

    // Appends as the last row, or, in a sorted listing, at its place after
    // the rows with the same text; returns its number.
    std::size_t append(const ListRow &row);
    // Appends many rows with one notification. A sorted listing sorts them on
    // their own and merges them in, in one pass. When memory runs out
    // (std::bad_alloc), a sorted listing is left as it was; any other keeps
    // the rows appended by then, told to the observers.
    void append(std::vector<ListRow> &&rows);
    // The same with copies of rows, which stay the caller's (to be reused).
    void append(std::span<const ListRow> rows);

    // Read access to row r (1-based). Views are valid until the next change;
    // a sub-item's text made from its value (setValueText) until the next
    // change or eight texts made later.
    ListRow row(std::size_t r) const;
    std::string_view text(std::size_t r) const;
    std::string_view subItem(std::size_t r, int k) const; // k = 1..6
    SortValue subItemValue(std::size_t r, int k) const;
    std::string tag(std::size_t r) const; // made on demand: see the storage note below
    bool tagStartsWith(std::size_t r, std::string_view prefix) const; // without making the tag
    void appendTag(std::size_t r, std::string &out) const; // the same into a buffer kept for many rows
    int icon(std::size_t r) const;
    int smallIcon(std::size_t r) const;
    bool isSelected(std::size_t r) const;

    // In a sorted listing, a row whose text (or value) in the sort column
    // changes moves to its place (after or before the rows that sort equal,
    // as it stood).
    void setRow(std::size_t r, const ListRow &row);
    // The text alone; the sub-item keeps its sort value.
    void setSubItem(std::size_t r, int k, std::string_view value);
    void setSubItemCell(std::size_t r, int k, const ListCell &cell);
    // Sets sub-item k of row r to values[r - 1] wherever that holds a text
    // (keeping the sort value), or to cells[r - 1] wherever that holds a cell.
    // Rows keep their numbers meanwhile; a sorted listing is put in order
    // once, at the end.
    void setSubItems(int k, const std::vector<std::optional<std::string>> &values);
    void setSubItemCells(int k, const std::vector<std::optional<ListCell>> &cells);
    void setSelected(std::size_t r, bool selected);
    void setAllSelected(bool selected);
    std::size_t selectedCount() const;

    // The rows whose tags begin with prefix: kept up to date as rows come and
    // go for the prefix given to countTagPrefix (the rows already there are
    // counted then), so it is answered at once however long the listing;
    // for any other prefix the rows are looked at.
    std::size_t countOfTagsStartingWith(std::string_view prefix) const;
    void countTagPrefix(std::string prefix); // "" counts none

    // The first row whose tag equals tag exactly, or 0.
    std::size_t findByTag(std::string_view tag) const;
    bool containsTag(std::string_view tag) const { return findByTag(tag) != 0; }

    // Later rows move up by one.
    void remove(std::size_t r);
    // Removes every row for which shouldRemove(r) is true, in one pass.
    // Returns the number of rows removed. When most of the listing's storage
    // then belongs to removed rows, the rows left are re-packed into fresh
    // storage: at once, or (InSteps) by calls of repackStep, the listing
    // working fully meanwhile. For a million rows the re-pack takes longer
    // than the removal.
    enum class Repack { Now, InSteps };
    std::size_t removeIf(const std::function<bool(std::size_t)> &shouldRemove, Repack repack = Repack::Now);
    // Re-packs up to count of the rows still waiting; returns how many wait.
    std::size_t repackStep(std::size_t count);
    void clear();

    // Columns, numbered from 1.
    void setColumns(std::vector<ListColumn> columns);
    std::size_t columnCount() const;
    const ListColumn &column(std::size_t c) const;
    void setColumnWidth(std::size_t c, double twips);
    void setColumnHeaderIcon(std::size_t c, int icon);

    // Sort column (0-based: 0 for the item text) and order.
    int sortColumn() const;
    SortOrder sortOrder() const;
    void setSortColumn(int column);
    void setSortOrder(SortOrder order);
    // Re-orders the rows by the texts of the sort column: a stable comparison of
    // prepared keys (letters without regard to ASCII case), never a locale call
    // per comparison; or, for a column that sorts by value, by the sort values
    // of its sub-items, stably, rows without a value last in either order. From then on the listing is sorted: it keeps
    // every row it receives, or whose sort text changes, in that order (clear() included), so its rows are always what
    // a new sort would give. Changing the sort column or order ends that until the next sort().
    void sort();
    bool isSorted() const;

    // Rows that get a sub-item k (1..6) text that is exactly what maker makes
    // of their sort value keep the value alone there, and the text is made
    // again when read: a row of a million then costs a few bytes in that
    // column instead of its text. Only for a column that sorts by value (rows
    // keep no values elsewhere). A new maker (the user's unit changed) serves
    // the rows added from then on; rows made before keep theirs; nullptr keeps
    // texts again.
    void setValueText(int k, std::shared_ptr<const ValueText> maker);

    // A free-form text the owner keeps with the listing (the destination's
    // display stamp).
    const std::string &stamp() const;
    void setStamp(std::string stamp);

    void addObserver(ListObserver *observer);
    void removeObserver(ListObserver *observer);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace mrb::platform
