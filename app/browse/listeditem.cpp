// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listeditem.h"

#include "app/browse/listingcells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace mrb::core
{

namespace
{

struct ColumnDefault {
    const char *header;
    const char *width; // twips, as the destination's column tag holds it
};

// In display order.
constexpr PerColumn<ColumnDefault> columnDefaults = {{
    {nullptr, "2500.15"}, // the Name header depends on the listing
    {"Path", "2500.15"},
    {"Size", "860.03"},
    {"Type", "899.71"},
    {"Created Date", "1730.26"},
    {"Midified Date", "1730.26"},
    {"Last Accessed Date", "1099.84"},
}};

// A number at the start of a text, as a column tag holds it; 0 when there is none.
double leadingNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0;
}

// Appends the integer digits with a group separator before every third digit
// from the right.
void appendGrouped(std::string &out, std::string_view digits, const std::string &separator)
{
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
}

std::string assemble(
    std::string_view integerDigits, std::string_view decimals, bool negative, const platform::LocaleFormat &locale)
{
    std::string out;
    out.reserve(integerDigits.size() * 2 + decimals.size() + 4);
    if (negative)
        out += '-';
    appendGrouped(out, integerDigits, locale.groupSeparator());
    out += locale.decimalSeparator();
    out += decimals;
    return out;
}

// The number of times a unit divides by 1024, or -1 for a unit text that is
// not one of the four.
int unitShift(std::string_view unit)
{
    if (unit == "Bytes")
        return 0;
    if (unit == "KB")
        return 1;
    if (unit == "MB")
        return 2;
    if (unit == "GB")
        return 3;
    return -1;
}

// FormatSize without floating point: the count is below 2^53 and so exact as a
// double, and dividing by a power of two leaves at most 30 binary decimals, so
// integer arithmetic gives the exactly rounded digits.
std::optional<std::string> fastSizeNumber(
    std::uint64_t bytes, int shift, int decimals, const platform::LocaleFormat &locale)
{
    constexpr std::uint64_t exactLimit = std::uint64_t(1) << 53;
    if (decimals > 9 || bytes > exactLimit)
        return std::nullopt;
    if (shift < 0)
        bytes = 0;
    const int bits = shift < 0 ? 0 : 10 * shift;
    const std::uint64_t mask = (std::uint64_t(1) << bits) - 1;
    std::uint64_t whole = bytes >> bits;
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const std::uint64_t scaled = (bytes & mask) * scale; // below 2^30 * 10^9
    std::uint64_t fraction = scaled >> bits;
    // halves away from zero: round up when the rest is at least one half
    if (bits > 0 && (scaled & mask) >= (std::uint64_t(1) << (bits - 1)))
        ++fraction;
    if (fraction == scale) {
        ++whole;
        fraction = 0;
    }
    char integerDigits[24];
    const auto intEnd = std::to_chars(integerDigits, integerDigits + sizeof integerDigits, whole).ptr;
    char fractionDigits[16];
    std::fill(fractionDigits, fractionDigits + decimals, '0');
    for (int i = decimals - 1; i >= 0 && fraction > 0; --i) {
        fractionDigits[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return assemble(std::string_view(integerDigits, static_cast<std::size_t>(intEnd - integerDigits)),
        std::string_view(fractionDigits, static_cast<std::size_t>(decimals)),
        false,
        locale);
}

} // namespace

std::vector<platform::ListColumn> listingColumns(Listing which)
{
    std::vector<platform::ListColumn> columns;
    columns.reserve(columnCount);
    for (const ColumnDefault &column : columnDefaults) {
        platform::ListColumn c;
        if (column.header)
            c.header = column.header;
        else
            c.header = which == Listing::Source ? "[Source Listing] Name" : "[Destination Listing] Name";
        c.widthTwips = leadingNumber(column.width);
        if (which == Listing::Destination)
            c.tag = column.width;
        columns.push_back(std::move(c));
    }
    return columns;
}

platform::ListRow toListRow(ListedItem &&item)
{
    platform::ListRow row;
    cellText(row, Column::Name) = std::move(item.name);
    cellText(row, Column::Path) = std::move(item.path);
    cellText(row, Column::Size) = std::move(item.size);
    cellText(row, Column::Type) = std::move(item.type);
    cellText(row, Column::Created) = std::move(item.created);
    cellText(row, Column::Modified) = std::move(item.modified);
    cellText(row, Column::Accessed) = std::move(item.accessed);
    row.tag = std::move(item.tag);
    row.smallIcon = item.smallIcon;
    return row;
}

ListedItem listedItemOf(const platform::ListModel &listing, std::size_t row)
{
    ListedItem item;
    item.name = cellText(listing, row, Column::Name);
    item.path = cellText(listing, row, Column::Path);
    item.size = cellText(listing, row, Column::Size);
    item.type = cellText(listing, row, Column::Type);
    item.created = cellText(listing, row, Column::Created);
    item.modified = cellText(listing, row, Column::Modified);
    item.accessed = cellText(listing, row, Column::Accessed);
    item.tag = listing.tag(row);
    item.smallIcon = listing.smallIcon(row);
    return item;
}

std::string rowFullPath(std::string_view path, std::string_view name)
{
    std::string full;
    full.reserve(path.size() + name.size() + 1);
    full += path;
    if (!path.ends_with('/'))
        full += '/';
    full += name;
    return full;
}

std::string rowFullPath(const platform::ListModel &listing, std::size_t row)
{
    return rowFullPath(cellText(listing, row, Column::Path), cellText(listing, row, Column::Name));
}

std::string folderTag(std::string_view fullPath)
{
    std::string tag;
    tag.reserve(folderMarker.size() + fullPath.size());
    tag += folderMarker;
    tag += fullPath;
    return tag;
}

bool isFolderTag(std::string_view tag)
{
    return tag.starts_with(folderMarker);
}

int sizeDecimals(std::string_view precisionText)
{
    if (precisionText.empty())
        return 0;
    int decimals = 0;
    for (const char c : precisionText) {
        if (c < '0' || c > '9')
            return 0;
        decimals = std::min(decimals * 10 + (c - '0'), 99);
    }
    return decimals;
}

double ConvertSize(std::uint64_t bytes, const SettingsRecord &settings)
{
    const int shift = unitShift(settings.value(Setting::CommonUnit));
    if (shift < 0)
        return 0;
    double value = static_cast<double>(bytes);
    for (int i = 0; i < shift; ++i)
        value /= 1024; // binary units: 1 KB is 1024 bytes
    return value;
}

std::string formatNumber(double value, int minDecimals, int maxDecimals, const platform::LocaleFormat &locale)
{
    maxDecimals = std::clamp(maxDecimals, 0, 99);
    minDecimals = std::clamp(minDecimals, 0, maxDecimals);
    if (!std::isfinite(value))
        value = 0;
    // Far more digits than any size can have, so the digit after the last kept
    // one is exact and decides the rounding (printf alone rounds halves to even).
    // to_chars, not printf: the C library's locale (which the toolkit sets from
    // the user's) could make the decimal point a comma.
    const int printed = maxDecimals + 64;
    char buffer[512];
    const auto printedEnd =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, printed).ptr;
    std::string_view text(buffer, static_cast<std::size_t>(printedEnd - buffer));
    const std::size_t point = text.find('.');
    std::string digits(text.substr(0, point));
    digits += text.substr(point + 1, static_cast<std::size_t>(maxDecimals));
    const bool roundUp = text[point + 1 + static_cast<std::size_t>(maxDecimals)] >= '5';
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const std::size_t integerCount = digits.size() - static_cast<std::size_t>(maxDecimals);
    std::string_view integerDigits(digits.data(), integerCount);
    std::string_view decimals(digits.data() + integerCount, static_cast<std::size_t>(maxDecimals));
    while (decimals.size() > static_cast<std::size_t>(minDecimals) && decimals.back() == '0')
        decimals.remove_suffix(1);
    const bool negative = std::signbit(value) && digits.find_first_not_of('0') != std::string::npos;
    return assemble(integerDigits, decimals, negative, locale);
}

std::string FormatSize(std::uint64_t bytes, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    const std::string &unit = settings.value(Setting::CommonUnit);
    const int decimals = sizeDecimals(settings.value(Setting::CommonPrecision));
    std::optional<std::string> number = fastSizeNumber(bytes, unitShift(unit), decimals, locale);
    std::string text =
        number ? std::move(*number) : formatNumber(ConvertSize(bytes, settings), decimals, decimals, locale);
    text += ' ';
    text += unit;
    return text;
}

std::string formatTotal(double value, const platform::LocaleFormat &locale)
{
    return formatNumber(value, 0, 1, locale);
}

std::string FormatDate(const platform::Timestamp &time, const platform::LocaleFormat &locale)
{
    return time ? locale.formatDateTime(*time) : std::string();
}

ListedItem MakeFileRow(
    const platform::FsItem &file, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    ListedItem item;
    item.name = file.name;
    item.path = file.parentPath;
    item.size = FormatSize(file.size, settings, locale);
    item.type = file.type;
    item.created = FormatDate(file.created, locale);
    item.modified = FormatDate(file.modified, locale);
    item.accessed = FormatDate(file.accessed, locale);
    item.tag = file.path;
    item.smallIcon = fileImage;
    return item;
}

ListedItem MakeFolderRow(const platform::FsItem &folder, const platform::LocaleFormat &locale)
{
    ListedItem item;
    item.name = folder.name;
    item.path = folder.parentPath;
    item.size.assign(1, ' '); // a blank, not empty: the folder was listed without its size
    item.type = folder.type;
    item.created = FormatDate(folder.created, locale);
    item.modified = FormatDate(folder.modified, locale);
    item.accessed = FormatDate(folder.accessed, locale);
    item.tag = folderTag(folder.path);
    item.smallIcon = folderImage;
    return item;
}

ListedItem MakeFolderRow(const platform::FsItem &folder,
    std::optional<std::uint64_t> total,
    const SettingsRecord &settings,
    const platform::LocaleFormat &locale)
{
    ListedItem item = MakeFolderRow(folder, locale);
    item.size = total ? FormatSize(*total, settings, locale) : std::string();
    return item;
}

std::string displayStamp(const SettingsRecord &settings)
{
    return settings.value(Setting::CommonUnit) + settings.value(Setting::CommonPrecision);
}

void ApplyDisplaySettings(platform::ListModel &destination,
    const SettingsRecord &settings,
    platform::FileSystem &fs,
    const platform::LocaleFormat &locale)
{
    struct Switch {
        Column column;
        Setting setting;
    };
    // The Name column is left alone, so a width the user dragged stays.
    constexpr Switch switches[] = {
        {Column::Path, Setting::CommonPath},
        {Column::Size, Setting::CommonSize},
        {Column::Type, Setting::CommonType},
        {Column::Created, Setting::CommonCreated},
        {Column::Modified, Setting::CommonModified},
        {Column::Accessed, Setting::CommonAccessed},
    };
    for (const Switch &s : switches) {
        if (const platform::ListColumn *column = listColumn(destination, s.column))
            setColumnWidth(destination, s.column, settings.isOn(s.setting) ? leadingNumber(column->tag) : 0);
    }

    const std::string stamp = displayStamp(settings);
    if (destination.stamp() == stamp)
        return;
    for (std::size_t r = 1; r <= destination.rowCount(); ++r) {
        const std::string fullPath = rowFullPath(destination, r);
        std::optional<std::uint64_t> bytes;
        if (isFolderTag(destination.tag(r))) {
            bytes = fs.folderSize(fullPath);
        } else if (const auto file = fs.file(fullPath)) {
            bytes = file->size;
        }
        // an item that cannot be read any more keeps its old size text
        if (bytes)
            setCellText(destination, r, Column::Size, FormatSize(*bytes, settings, locale));
    }
    destination.setStamp(stamp);
}

void SortByColumn(platform::ListModel &listing, Column column)
{
    setSortColumn(listing, column);
    const platform::SortOrder order = listing.sortOrder() == platform::SortOrder::Ascending
        ? platform::SortOrder::Descending
        : platform::SortOrder::Ascending;
    listing.setSortOrder(order);
    for (const Column c : allColumns)
        setColumnHeaderIcon(listing, c, 0);
    setColumnHeaderIcon(
        listing, column, order == platform::SortOrder::Ascending ? ascendingHeaderIcon : descendingHeaderIcon);
    listing.sort();
}

} // namespace mrb::core
