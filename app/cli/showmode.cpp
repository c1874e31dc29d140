// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listingcells.h"
#include "app/browse/treeimages.h"
#include "app/cli/clicontext.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace mrb::cli
{

// The source listing that a click on the folder's tree node fills (sub-folders
// first, then the matching files), one row a line: the seven column texts and
// the tag, separated by TAB.
int runShow(CliContext &context)
{
    const CliOptions &options = context.options;
    std::string folder = options.showFolder;
    if (!folder.starts_with('/')) {
        std::error_code ec;
        folder = std::filesystem::absolute(folder, ec).string();
    }
    folder = platform::normalizePath(folder);
    // The window would show an empty listing; here the caller learns why.
    core::Workspace &workspace = context.workspace;
    if (!workspace.services().fs.get().folderExists(folder)) {
        context.err << "mrb-list: " << options.showFolder << ": no such folder\n";
        return ExitFailed;
    }

    // the folder stands as the tree's selected node, as after a click on it
    platform::TreeModel &tree = workspace.tree();
    tree.add({folder, folder, "", core::driveImage, core::driveImage, false});
    tree.select(folder);
    core::SourceFilter filter;
    if (options.filter)
        filter.pattern = *options.filter;
    filter.includeHidden = options.includeHidden;
    filter.includeSystem = options.includeSystem;
    workspace.sourceListing().changeFilter(filter);
    const platform::ListModel &list = workspace.source();

    std::string line;
    for (std::size_t r = 1; r <= list.rowCount(); ++r) {
        line.clear();
        for (const core::Column column : core::allColumns) {
            line += core::cellText(list, r, column);
            line += '\t';
        }
        line += list.tag(r);
        line += '\n';
        context.out << line;
    }
    context.out.flush();
    if (!context.out) {
        context.err << "mrb-list: the listing could not be written\n";
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace mrb::cli
