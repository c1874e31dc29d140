// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classfactory.h"
#include "lib/frame/registration.h"

#include <span>

namespace qfc
{

// The library's five public classes: GenFuns, APIFuns, TxtFile, Base64, Registry.
std::span<const ClassInfo> libraryClasses();

// The data registration writes besides the classes: the code-page table
// (MIME\Database\Codepage\<number> with BodyCharset and Description) of
// every charset TxtFile and Base64 accept; with all, every page of the table
// whatever this system converts (what unregistration removes).
std::vector<RegistrationEntry> libraryData(bool all);

// The library's first start in a process, before its first class object is
// handed out: the deletes deferred until a restart are carried out.
void libraryStarted();

} // namespace qfc
