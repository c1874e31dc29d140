// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mrb::cli
{

// mrb-list catalog COMMAND ...
enum class CatalogCommand { Add, List, Search, Diff, Export, Remove, Init, Copy };

// How the catalog commands print what they find (--format); a comparison
// may also be written as a catalog page.
enum class CatalogPrint { Text, Csv, Jsonl, Page };

struct CatalogOptions {
    CatalogCommand command = CatalogCommand::List;
    std::optional<std::string> catalogFile; // --catalog FILE (or a server's address), as given
    CatalogPrint print = CatalogPrint::Text;
    std::optional<std::string> label; // add --label TEXT
    bool noTags = false; // add --no-tags: media files' tags are not read
    std::vector<std::string> folders; // add DIR...
    std::string pattern; // search PATTERN
    std::optional<std::int64_t> snapshot; // search --snapshot N
    std::optional<std::size_t> limit; // search --limit K
    std::vector<std::int64_t> numbers; // diff OLD NEW, export N, remove N, copy [N...]
    std::string copyFrom; // copy --from A
    std::string copyTo; // copy --to B
    bool all = false; // export --all
    std::string output; // export -o FILE, diff --format catalog -o FILE
};

} // namespace mrb::cli
