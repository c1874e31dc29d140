// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/sourcelisting.h"

#include "app/browse/filerows.h"
#include "app/browse/foldertree.h"
#include "app/browse/listeditem.h"
#include "app/browse/listingcells.h"
#include "app/browse/openitems.h"
#include "platform/variant/value.h"

#include <span>
#include <vector>

namespace mrb::core
{

namespace
{

const std::string readyPrompt = " Ready.";
constexpr std::size_t maxBatchRows = 4096;

bool isBlank(const std::string &text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

SourceListing::SourceListing(platform::ListModel &listing,
    platform::TreeModel &tree,
    platform::StatusBarModel &status,
    platform::FileSystem &fs,
    const SettingsRecord &settings,
    LibraryGenFuns &gen,
    LibraryApiFuns &api,
    UserInterface &ui,
    const platform::LocaleFormat &locale)
    : m_listing(listing)
    , m_tree(tree)
    , m_status(status)
    , m_fs(fs)
    , m_settings(settings)
    , m_gen(gen)
    , m_api(api)
    , m_ui(ui)
    , m_locale(locale)
{
}

void SourceListing::changeFilter(const SourceFilter &filter)
{
    m_filter = filter;
    ShowFolder(m_tree.selectedKey());
}

void SourceListing::ShowFolder(const std::string &key)
{
    m_listing.clear();
    m_unreadable.reset();
    // A blank key would name the working folder; it is no folder of the tree.
    if (isBlank(key))
        m_status.setPrompt(readyPrompt);
    else
        ListFolder(key);
    if (!key.empty())
        m_tree.expand(key);
}

bool SourceListing::inList(std::uint32_t attributes, std::int64_t first, std::int64_t second) const
{
    const platform::Value value = std::int64_t(attributes);
    const std::vector<platform::Value> list = {first, second};
    return m_gen.inVar(value, list);
}

// The whole attribute value is compared with fixed lists, not single bits: a
// hidden folder that also carries the archive bit (50) is always listed.
bool SourceListing::isListed(std::uint32_t attributes) const
{
    if (!m_filter.includeHidden && inList(attributes, 18, 19))
        return false;
    if (!m_filter.includeSystem && inList(attributes, 20, 21))
        return false;
    if (!m_filter.includeHidden && !m_filter.includeSystem && inList(attributes, 22, 23))
        return false;
    return true;
}

// For each sub-folder (in name order), the node a new node of it goes before:
// the next sub-folder's that was under key before this listing. A folder made
// since key was last shown then takes its place among the nodes there, and a
// first listing appends them all in order.
std::vector<std::string> SourceListing::nodesToInsertBefore(
    const std::string &key, const std::vector<platform::FsItem> &subFolders) const
{
    std::vector<std::string> before(subFolders.size());
    std::string next;
    for (std::size_t i = subFolders.size(); i-- > 0;) {
        before[i] = next;
        if (const platform::TreeNode *node = m_tree.node(subFolders[i].path); node && node->parentKey == key)
            next = subFolders[i].path;
    }
    return before;
}

void SourceListing::noteListing(const platform::Result<> &listed)
{
    if (!listed && !m_unreadable)
        m_unreadable = listed.problem();
}

// The batch's last row, which need not be the listing's last in a sorted listing.
void SourceListing::showLastRowPrompt(const std::vector<platform::ListRow> &batch)
{
    if (!batch.empty()) {
        const platform::ListRow &last = batch.back();
        m_status.setPrompt(
            " Displaying " + rowFullPath(cellText(last, Column::Path), cellText(last, Column::Name)) + "...");
    }
}

// One read of the folder gives its sub-folders and then its files.
void SourceListing::ListFolder(const std::string &key)
{
    platform::FileListQuery query;
    query.pattern = m_filter.pattern;
    query.includeHidden = m_filter.includeHidden;
    query.includeSystem = m_filter.includeSystem;
    std::vector<platform::FsItem> folders;
    bool foldersShown = false;
    // Rows go over in batches whose texts' storage is reused, so a folder of
    // many files is never held twice over while it is listed.
    std::vector<platform::ListRow> batch(maxBatchRows);
    std::size_t count = 0;
    ListedItem item;
    const platform::Result<> listed = m_fs.listFolder(
        key, platform::FileSystem::Entries::FoldersThenFiles, query, [&](const platform::FsItem &entry) {
            if (entry.isFolder) {
                folders.push_back(entry);
                return;
            }
            if (!foldersShown) {
                ListSubfolders(key, folders);
                foldersShown = true;
            }
            if (count == batch.size()) {
                m_listing.append(std::span<const platform::ListRow>(batch.data(), count));
                count = 0;
            }
            MakeFileRow(item, entry, m_settings, m_locale);
            assignListRow(batch[count++], item);
        });
    noteListing(listed);
    if (!foldersShown)
        ListSubfolders(key, folders);
    if (count > 0) {
        const platform::ListRow &last = batch[count - 1];
        m_status.setPrompt(
            " Displaying " + rowFullPath(cellText(last, Column::Path), cellText(last, Column::Name)) + "...");
        m_listing.append(std::span<const platform::ListRow>(batch.data(), count));
    }
    m_status.setPrompt(readyPrompt);
}

void SourceListing::ListSubfolders(const std::string &key, const std::vector<platform::FsItem> &folders)
{
    const std::vector<std::string> before = nodesToInsertBefore(key, folders);
    std::vector<platform::ListRow> rows;
    rows.reserve(folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const platform::FsItem &folder = folders[i];
        if (!isListed(folder.attributes))
            continue;
        // fails when the node is already there (the folder shown before, or a
        // volume mounted here that has its own drive node): the node stays
        m_tree.add(folderNode(key, folder), before[i]);
        rows.push_back(toListRow(MakeFolderRow(folder, m_locale)));
    }
    showLastRowPrompt(rows);
    m_listing.append(std::move(rows));
    m_status.setPrompt(readyPrompt);
}

KeyboardFocus SourceListing::SelectAllSource()
{
    m_listing.setAllSelected(true);
    return KeyboardFocus::SourceListing;
}

KeyboardFocus SourceListing::SelectNoneSource()
{
    m_listing.setAllSelected(false);
    return KeyboardFocus::SourceListing;
}

void SourceListing::OpenSourceItems()
{
    OpenSelectedItems(m_listing, m_status, m_api, m_ui);
}

} // namespace mrb::core
