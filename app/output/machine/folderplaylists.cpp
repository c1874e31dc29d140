// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/output/machine/folderplaylists.h"

#include "app/browse/listeditem.h"
#include "app/output/machine/machineoutput.h"
#include "app/output/makeoutput.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/fs/filesystem.h"

#include <map>
#include <set>
#include <unordered_map>
#include <vector>

namespace mrb::core
{

namespace
{

struct FolderRows {
    std::string folder;
    std::vector<std::size_t> rows;
    std::string name; // of the playlist, less ".m3u8"
};

std::vector<std::string_view> elementsOf(std::string_view path)
{
    std::vector<std::string_view> elements;
    while (!path.empty()) {
        const auto slash = path.find('/');
        if (slash != 0)
            elements.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return elements;
}

// The folder's own name; "root" for "/", which has none.
std::string lastElementOf(const std::string &folder)
{
    const std::vector<std::string_view> elements = elementsOf(folder);
    return elements.empty() ? std::string("root") : std::string(elements.back());
}

// Folders sharing a name are named after their elements below the folder
// all of them share, joined by " - "; what still clashes gets " (2)", " (3)".
void nameFolders(std::vector<FolderRows> &folders)
{
    std::map<std::string, std::size_t> uses;
    for (FolderRows &f : folders) {
        f.name = lastElementOf(f.folder);
        ++uses[f.name];
    }
    std::vector<std::string_view> common;
    bool first = true;
    for (const FolderRows &f : folders) {
        const std::vector<std::string_view> elements = elementsOf(f.folder);
        if (first) {
            common = elements;
            first = false;
        }
        std::size_t shared = 0;
        while (shared < common.size() && shared < elements.size() && common[shared] == elements[shared])
            ++shared;
        common.resize(shared);
    }
    for (FolderRows &f : folders) {
        if (uses[f.name] < 2)
            continue;
        const std::vector<std::string_view> elements = elementsOf(f.folder);
        std::string name;
        for (std::size_t i = common.size(); i < elements.size(); ++i)
            name += (name.empty() ? "" : " - ") + std::string(elements[i]);
        if (!name.empty())
            f.name = name;
    }
    std::set<std::string> taken;
    for (FolderRows &f : folders) {
        const std::string base = f.name;
        for (int k = 2; !taken.insert(f.name).second; ++k)
            f.name = base + " (" + std::to_string(k) + ")";
    }
}

} // namespace

FolderPlaylistsResult writeFolderPlaylists(
    const MakeContext &context, const MachineOutput &machine, const PlaylistPlace &place)
{
    FolderPlaylistsResult result;
    const std::optional<MediaTable> media = mediaTableFor(context, machine);
    const MachineRows input {context.destination, machine.facts, context.statusBar, media ? &*media : nullptr};
    const bool mediaOnly = media && machine.entries == M3u8Entries::MediaOnly;

    std::vector<FolderRows> folders;
    std::unordered_map<std::string, std::size_t> indexOf;
    const platform::ListModel &rows = context.destination;
    for (std::size_t r = 1; r <= rows.rowCount(); ++r) {
        if (isFolderRow(rows, r) || (mediaOnly && !media->isMedia(r)))
            continue;
        const std::string folder(rows.subItem(r, 1));
        const auto [at, added] = indexOf.try_emplace(folder, folders.size());
        if (added)
            folders.push_back({folder, {}, {}});
        folders[at->second].rows.push_back(r);
    }
    if (place.folder) {
        nameFolders(folders);
    } else {
        for (FolderRows &f : folders)
            f.name = lastElementOf(f.folder); // each in a folder of its own: no two can clash
    }

    if (place.folder && !folders.empty() && !context.fs.createFolder(*place.folder)) {
        context.ui.showMessage(
            cannotOutputMessage(*place.folder, "the folder cannot be made"), MessageIcon::Exclamation);
        result.failed = folders.size();
        return result;
    }
    for (const FolderRows &f : folders) {
        const std::string fileName = platform::joinPath(place.folder.value_or(f.folder), f.name + ".m3u8");
        const std::optional<std::string> relativeTo = place.folder ? machine.relativeTo : f.folder;
        std::unique_ptr<platform::TextWriter> out = context.fs.openTextWriter(fileName, platform::WriteMode::Replace);
        const std::optional<M3u8Written> written = WriteM3u8Rows(*out, input, f.rows, relativeTo);
        platform::WriteResult finished = out->finish();
        if (finished.ok() && !written)
            finished = platform::WriteResult::failure(fileName, "a write to the file failed");
        if (!finished.ok()) {
            ++result.failed;
            context.ui.showMessage(cannotOutputMessage(fileName, finished.reason()), MessageIcon::Exclamation);
            continue;
        }
        ++result.written;
        result.entries += written->entries;
        if (const std::string warning = leftOutWarning(*written, fileName); !warning.empty())
            context.ui.showMessage(warning, MessageIcon::Exclamation);
        context.ui.showMessage(closingMessage(written->entries, fileName), MessageIcon::Information);
    }
    context.statusBar.setPrompt(" Ready.");
    return result;
}

} // namespace mrb::core
