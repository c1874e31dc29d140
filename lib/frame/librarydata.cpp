// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// What the library adds to its registration and does at its first start
// where the system has neither a code-page table nor deletes at restart.
#include "lib/apifuns/deferreddeletes.h"
#include "lib/common/codepages.h"
#include "lib/frame/classtable.h"

namespace qfc
{

std::vector<RegistrationEntry> libraryData(bool all)
{
    std::vector<RegistrationEntry> entries;
    const std::span<const CodePage> table = allCodePages();
    const std::vector<CodePage> pages = all ? std::vector<CodePage>(table.begin(), table.end()) : knownCodePages();
    for (const CodePage &page : pages) {
        const std::string key = std::string(codePageKey) + "\\" + std::to_string(page.number);
        entries.push_back({key, "BodyCharset", page.bodyCharset});
        entries.push_back({key, "Description", page.description});
    }
    return entries;
}

void libraryStarted()
{
    carryOutDeletesAfterRestart();
}

} // namespace qfc
