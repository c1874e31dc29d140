// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/listingcells.h"
#include "app/browse/treeimages.h"
#include "app/cli/clicontext.h"
#include "app/cli/tabfields.h"
#include "app/workspace/workspace.h"
#include "platform/fs/filesystem.h"

#include <array>
#include <ostream>
#include <string>
#include <string_view>

namespace mrb::cli
{

namespace
{

// Appends text with backslash, TAB, LF and CR written as \\, \t, \n and \r,
// so that a name holding them still gives one line of eight fields.
void appendEscaped(std::string &line, std::string_view text)
{
    // most texts hold none of them: copied in runs, not a character at a time
    static constexpr auto isSpecial = [] {
        std::array<bool, 256> table {};
        for (const unsigned char c : {'\\', '\t', '\n', '\r'})
            table[c] = true;
        return table;
    }();
    const auto special = [](char c) { return isSpecial[static_cast<unsigned char>(c)]; };
    auto run = text.begin();
    for (auto c = run; c != text.end(); ++c) {
        if (!special(*c))
            continue;
        line.append(run, c);
        line += '\\';
        line += *c == '\\' ? '\\' : *c == '\t' ? 't' : *c == '\n' ? 'n' : 'r';
        run = c + 1;
    }
    line.append(run, text.end());
}

// Lines are gathered and written this many bytes at a time.
constexpr std::size_t writeChunk = 1 << 20;

} // namespace

// The source listing that a click on the folder's tree node fills (sub-folders
// first, then the matching files), one row a line: the seven column texts and
// the tag, separated by TAB (see appendEscaped).
int runShow(CliContext &context)
{
    const CliOptions &options = context.options;
    const std::string folder = platform::absolutePath(options.showFolder);
    // The window would show an empty listing; here the caller learns why.
    core::Workspace &workspace = context.workspace;
    platform::FileSystem &fs = workspace.services().fs;
    if (!fs.folderExists(folder)) {
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
    if (const auto &unreadable = workspace.sourceListing().unreadable()) {
        context.err << "mrb-list: " << options.showFolder << ": the folder could not be read: " << unreadable->reason
                    << '\n';
        return ExitFailed;
    }
    const platform::ListModel &list = workspace.source();

    std::string lines;
    lines.reserve(writeChunk + 4096);
    std::string tag;
    for (std::size_t r = 1; r <= list.rowCount(); ++r) {
        for (const core::Column column : core::allColumns) {
            appendEscaped(lines, core::cellText(list, r, column));
            lines += '\t';
        }
        tag.clear();
        list.appendTag(r, tag);
        appendEscaped(lines, tag);
        lines += '\n';
        if (lines.size() >= writeChunk) {
            context.out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
            lines.clear();
        }
    }
    context.out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
    context.out.flush();
    if (!context.out) {
        context.err << "mrb-list: the listing could not be written\n";
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace mrb::cli

namespace mrb::cli
{

void appendTabField(std::string &line, std::string_view text)
{
    appendEscaped(line, text);
}

} // namespace mrb::cli
