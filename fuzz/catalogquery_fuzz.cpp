// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A catalog search's pattern comes from the user. Whatever it is, the plan
// the store follows must keep every entry the query matches: an entry that
// matches is a candidate of the plan (its name holds every fragment of one
// name group, or its folder's path with "/" holds the folder fragment and
// passes folderMatches), unless the plan reads every entry anyway.
// Input: the pattern, LF, a folder path, LF, a name (the rest is not used).
#include "app/catalog/catalogsearch.h"
#include "fuzz/fuzzinput.h"

using mrb::fuzz::FuzzInput;

namespace
{

bool holdsAll(const std::string &folded, const std::vector<std::string> &fragments)
{
    for (const std::string &fragment : fragments) {
        if (folded.find(fragment) == std::string::npos)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::string pattern(in.piece());
    std::string folder(in.piece());
    const std::string name(in.piece());
    // as a walk gives them: an absolute, normalized folder, a name without "/"
    if (name.empty() || name.find('/') != std::string::npos)
        return 0;
    folder = mrb::platform::normalizePath("/" + folder);
    const mrb::core::CatalogQuery query(pattern);
    mrb::core::StoredEntry entry;
    entry.item.name = name;
    entry.item.parentPath = folder;
    entry.item.path = mrb::platform::joinPath(folder, name);
    const mrb::core::SearchPlan &plan = query.plan();
    if (!query.matches(entry) || plan.scanAll)
        return 0;
    bool candidate = false;
    const std::string foldedName = mrb::core::foldedText(name);
    for (const std::vector<std::string> &group : plan.nameGroups)
        candidate = candidate || holdsAll(foldedName, group);
    // every folder above the entry is a candidate folder when its path holds the fragment
    for (std::string above = folder; !candidate && !above.empty(); above = mrb::platform::parentPathOf(above)) {
        const std::string foldedPath = mrb::core::foldedText(above) + "/";
        candidate = !plan.folderFragment.empty() && foldedPath.find(plan.folderFragment) != std::string::npos
            && plan.folderMatches && plan.folderMatches(above);
        if (above == "/")
            break;
    }
    FUZZ_CHECK(candidate);
    return 0;
}
