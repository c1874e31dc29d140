// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Windows keeps its own code-page table and carries out the deletes deferred
// until a restart itself: the library adds nothing and does nothing at start.
#include "lib/frame/classtable.h"

namespace qfc
{

std::vector<RegistrationEntry> libraryData(bool)
{
    return {};
}

void libraryStarted()
{
}

} // namespace qfc
