// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/catalogsearch.h"

#include "platform/fs/casefold.h"

#include <algorithm>
#include <vector>

namespace mrb::core
{

namespace
{

// Below three characters a trigram index cannot narrow anything.
constexpr std::size_t shortestFragment = 3;

std::u32string foldedUnits(std::string_view text)
{
    std::u32string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        units.push_back(platform::nextFoldedUnit(text, i));
    return units;
}

void appendUtf8(std::string &out, char32_t unit)
{
    if (unit >= platform::strayByteUnit)
        unit = 0xFFFD;
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else if (unit < 0x10000) {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (unit >> 18));
        out += static_cast<char>(0x80 | ((unit >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

std::string utf8Of(std::u32string_view units)
{
    std::string text;
    text.reserve(units.size());
    for (const char32_t unit : units)
        appendUtf8(text, unit);
    return text;
}

bool holds(std::string_view text, std::u32string_view needle)
{
    return foldedUnits(text).find(needle) != std::u32string::npos;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string foldedText(std::string_view text)
{
    std::string folded;
    appendFolded(folded, text);
    return folded;
}

void appendFolded(std::string &out, std::string_view text)
{
    // most names are ASCII: their letters fold to lower case, the rest stays
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        for (const char c : text)
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return;
    }
    for (std::size_t i = 0; i < text.size();)
        appendUtf8(out, platform::nextFoldedUnit(text, i));
}

CatalogQuery::CatalogQuery(std::string_view pattern)
{
    if (pattern.find_first_of("*?") != std::string_view::npos)
        planNamePattern(pattern);
    else {
        m_needle = foldedUnits(pattern);
        planSubstring();
    }
}

void CatalogQuery::planNamePattern(std::string_view pattern)
{
    m_pattern.emplace(pattern);
    // Each pattern of the filter is one group of the literal runs between
    // its wildcards; one pattern without a long enough run makes every name
    // a candidate.
    for (std::size_t start = 0; start <= pattern.size();) {
        std::size_t end = pattern.find(';', start);
        if (end == std::string_view::npos)
            end = pattern.size();
        std::string_view piece = pattern.substr(start, end - start);
        start = end + 1;
        while (!piece.empty() && isBlank(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && isBlank(piece.back()))
            piece.remove_suffix(1);
        if (piece.empty())
            continue;
        std::u32string units = foldedUnits(piece);
        // "name.*" also matches "name", which has no point
        if (units.size() >= 2 && units.compare(units.size() - 2, 2, U".*") == 0)
            units.resize(units.size() - 2);
        std::vector<std::string> group;
        std::size_t run = 0;
        for (std::size_t i = 0; i <= units.size(); ++i) {
            if (i < units.size() && units[i] != U'*' && units[i] != U'?')
                continue;
            if (i - run >= shortestFragment)
                group.push_back(utf8Of(std::u32string_view(units).substr(run, i - run)));
            run = i + 1;
        }
        if (group.empty()) {
            m_plan.scanAll = true;
            m_plan.nameGroups.clear();
            return;
        }
        m_plan.nameGroups.push_back(std::move(group));
    }
}

void CatalogQuery::planSubstring()
{
    if (m_needle.size() < shortestFragment) {
        m_plan.scanAll = true;
        return;
    }
    // Within a media file's artist, album or title.
    m_plan.tagFragment = utf8Of(m_needle);
    // Within a name, or across the last "/" of the full path: the part after
    // the needle's last "/" then begins the name.
    const std::size_t slash = m_needle.rfind(U'/');
    const std::u32string_view inName =
        slash == std::u32string::npos ? std::u32string_view(m_needle) : std::u32string_view(m_needle).substr(slash + 1);
    if (!inName.empty() && inName.size() < shortestFragment) {
        m_plan.scanAll = true;
        return;
    }
    if (!inName.empty())
        m_plan.nameGroups.push_back({utf8Of(inName)});
    // Within the folders that hold it: everything below them matches.
    m_plan.folderFragment = utf8Of(m_needle);
    m_plan.folderMatches = [this](std::string_view folderPath) {
        std::u32string units = foldedUnits(folderPath);
        units.push_back(U'/');
        return units.find(m_needle) != std::u32string::npos;
    };
}

bool CatalogQuery::matches(const StoredEntry &entry) const
{
    if (m_pattern)
        return m_pattern->matches(entry.item.name);
    if (holds(entry.item.path, m_needle))
        return true;
    const std::optional<platform::MediaTags> &tags = entry.tags;
    return tags && (holds(tags->artist, m_needle) || holds(tags->album, m_needle) || holds(tags->title, m_needle));
}

CatalogStatus searchCatalog(CatalogStore &store,
    const SearchRequest &request,
    const std::function<bool(const SnapshotInfo &, const StoredEntry &)> &each)
{
    std::vector<SnapshotInfo> snapshots;
    if (request.snapshot) {
        SnapshotInfo one;
        if (CatalogStatus status = store.snapshot(*request.snapshot, one); !status.ok())
            return status;
        snapshots.push_back(std::move(one));
    } else if (CatalogStatus status = store.snapshots(snapshots); !status.ok()) {
        return status;
    }
    const CatalogStore::Reading reading(store);
    const CatalogQuery query(request.pattern);
    std::size_t found = 0;
    bool going = !request.limit || *request.limit > 0;
    for (const SnapshotInfo &snapshot : snapshots) {
        if (!going)
            break;
        CatalogStatus status = store.searchCandidates(snapshot.id, query.plan(), [&](const StoredEntry &entry) {
            if (!query.matches(entry))
                return true;
            ++found;
            going = each(snapshot, entry) && (!request.limit || found < *request.limit);
            return going;
        });
        if (!status.ok())
            return status;
    }
    return {};
}

} // namespace mrb::core
