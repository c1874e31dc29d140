// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "platform/fs/filenamepattern.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mrb::core
{

// The text with every character folded as name patterns fold them
// (platform/fs/casefold.h), as UTF-8; a byte that is not UTF-8 becomes
// U+FFFD. What the trigram indexes hold and are asked for.
std::string foldedText(std::string_view text);
// The same appended to out, for a caller that reuses its buffer.
void appendFolded(std::string &out, std::string_view text);

// What a catalog search looks for. A pattern with "*" or "?" is a name
// pattern as the filter box takes it ("*.mp3;*.ogg", letters without regard
// to case); any other text is a piece of the full path, also without regard
// to case ("beatles/abbey" finds /M/Beatles/Abbey Road/...), or of a media
// file's artist, album or title.
class CatalogQuery
{
public:
    explicit CatalogQuery(std::string_view pattern);
    CatalogQuery(const CatalogQuery &) = delete; // its plan refers to it
    CatalogQuery &operator=(const CatalogQuery &) = delete;

    bool isNamePattern() const { return m_pattern.has_value(); }
    bool matches(const StoredEntry &entry) const;
    // Where the store finds the candidates (each still goes through matches()).
    const SearchPlan &plan() const { return m_plan; }

private:
    void planNamePattern(std::string_view pattern);
    void planSubstring();

    std::optional<platform::FileNamePattern> m_pattern;
    std::u32string m_needle; // folded units, for a substring
    SearchPlan m_plan;
};

struct SearchRequest {
    std::string pattern;
    std::optional<std::int64_t> snapshot; // every snapshot when empty
    std::optional<std::size_t> limit; // no limit when empty
};

// The matching entries of every snapshot asked for, by snapshot number and
// then in walk order, up to the limit; each returns false to stop. Missing
// when the snapshot asked for does not exist.
CatalogStatus searchCatalog(CatalogStore &store,
    const SearchRequest &request,
    const std::function<bool(const SnapshotInfo &, const StoredEntry &)> &each);

} // namespace mrb::core
