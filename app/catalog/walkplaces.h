// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstatus.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mrb::core
{

// Numbers a snapshot's entries and folders as a store's writer receives them
// in walk order: a folder's own entry takes its place when it is entered, its
// files the places after it; folders are numbered as they are entered (the
// root is 0). Every store numbers alike, so a snapshot reads the same from each.
class WalkPlaces
{
public:
    struct Folder {
        std::int64_t ordinal;
        std::int64_t place;
    };

    void reset() { *this = WalkPlaces(); }
    // Entries are numbered within their snapshot in 32 bits: a failure once they are all taken.
    CatalogStatus room() const;
    Folder enter();
    // A file of the folder entered last; its place.
    std::int64_t file() { return m_next++; }
    bool inFolder() const { return !m_open.empty(); }
    const Folder &current() const { return m_open.back(); }
    // Closes the folder entered last; parent is its parent's ordinal (none for the root).
    Folder leave(std::optional<std::int64_t> &parent);
    // The entries numbered so far; the last place is one less.
    std::int64_t count() const { return m_next; }

private:
    std::int64_t m_next = 0;
    std::int64_t m_nextFolder = 0;
    std::vector<Folder> m_open; // outermost first
};

} // namespace mrb::core
