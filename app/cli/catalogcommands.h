// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "app/cli/clicontext.h"

#include <memory>
#include <string>

namespace mrb::cli
{

// The catalog commands, one file each; runCatalog (catalogmode.cpp) opens
// the catalog they work on and runs the one asked for.
int runCatalogAdd(CliContext &context, core::CatalogStore &store); // catalogadd.cpp
int runCatalogList(CliContext &context, core::CatalogStore &store); // cataloglist.cpp
int runCatalogSearch(CliContext &context, core::CatalogStore &store); // catalogsearchcommand.cpp
int runCatalogDiff(CliContext &context, core::CatalogStore &store); // catalogdiffcommand.cpp
int runCatalogExport(CliContext &context, core::CatalogStore &store); // catalogexport.cpp
int runCatalogCopy(CliContext &context); // catalogcopy.cpp: opens both catalogs itself

// Says why the catalog could not do it; the exit code that goes with it
// (2 for catalog diff, where 1 means "they differ").
int catalogFailure(CliContext &context, const core::CatalogStatus &status);

// Opens a catalog named on the command line or by default: a server's
// address, or a file (made, with its folder, only for writing).
core::CatalogStatus openCatalogNamed(CliContext &context,
    const std::string &given,
    core::CatalogAccess access,
    std::unique_ptr<core::CatalogStore> &out);

// A path as given on the command line, absolute and with "." and ".." resolved.
std::string absoluteArgument(const std::string &path);

} // namespace mrb::cli
