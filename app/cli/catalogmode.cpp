// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/cataloglocation.h"
#include "app/catalog/catalogopener.h"
#include "app/cli/catalogcommands.h"
#include "app/cli/commandlineui.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace mrb::cli
{

std::string absoluteArgument(const std::string &path)
{
    return platform::absolutePath(path);
}

int catalogFailure(CliContext &context, const core::CatalogStatus &status)
{
    context.ui.clearProgress();
    // one line, whatever a store's message held
    std::string line = status.message();
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    context.err << "mrb-list: " << line << '\n';
    return context.options.catalog.command == CatalogCommand::Diff ? ExitUsage : ExitFailed;
}

core::CatalogStatus openCatalogNamed(
    CliContext &context, const std::string &given, core::CatalogAccess access, std::unique_ptr<core::CatalogStore> &out)
{
    const bool onServer = core::isServerAddress(given);
    const std::string path = onServer ? given : absoluteArgument(given);
    platform::FileSystem &fs = context.workspace.services().fs;
    if (!onServer && !fs.fileExists(path)) {
        if (access == core::CatalogAccess::Read)
            return core::CatalogStatus::failure(core::CatalogFailure::Missing,
                "there is no catalog at '" + path + "': 'mrb-list catalog add FOLDER' makes one");
        // the user's own catalog lives in a folder of its own, made on first use
        fs.createFolder(platform::parentPathOf(path));
    }
    return core::openCatalog(path, access, out);
}

// Opens the catalog named by --catalog, or the user's own, and runs the
// command on it. Only add, remove and init write: the others never make a
// catalog, and none writes into a file that is not one, is damaged or is newer.
int runCatalog(CliContext &context)
{
    const CatalogOptions &options = context.options.catalog;
    if (options.command == CatalogCommand::Copy)
        return runCatalogCopy(context);
    const bool writes = options.command == CatalogCommand::Add || options.command == CatalogCommand::Remove
        || options.command == CatalogCommand::Init;
    std::unique_ptr<core::CatalogStore> store;
    if (const core::CatalogStatus status = openCatalogNamed(context,
            options.catalogFile.value_or(core::defaultCatalogPath()),
            writes ? core::CatalogAccess::Write : core::CatalogAccess::Read,
            store);
        !status.ok())
        return catalogFailure(context, status);

    switch (options.command) {
    case CatalogCommand::Init:
        return ExitOk; // opening it for writing made it
    case CatalogCommand::Copy:
        break; // above
    case CatalogCommand::Add:
        return runCatalogAdd(context, *store);
    case CatalogCommand::List:
        return runCatalogList(context, *store);
    case CatalogCommand::Search:
        return runCatalogSearch(context, *store);
    case CatalogCommand::Diff:
        return runCatalogDiff(context, *store);
    case CatalogCommand::Export:
        return runCatalogExport(context, *store);
    case CatalogCommand::Remove:
        if (const core::CatalogStatus status = store->removeSnapshot(options.numbers.front()); !status.ok())
            return catalogFailure(context, status);
        return ExitOk;
    }
    return ExitUsage;
}

} // namespace mrb::cli
