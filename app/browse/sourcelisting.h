// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"
#include "app/library/librarygenfuns.h"
#include "app/settings/settings.h"
#include "app/userinterface/keyboardfocus.h"
#include "app/userinterface/userinterface.h"
#include "platform/controls/listmodel.h"
#include "platform/controls/statusbarmodel.h"
#include "platform/controls/treemodel.h"
#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mrb::core
{

// What the filter box and the Hidden and System boxes beside the source
// listing say.
struct SourceFilter {
    std::string pattern = "*.*";
    bool includeHidden = false;
    bool includeSystem = false;
};

// The source listing's commands: filling it with one folder's sub-folders and
// matching files, the tree nodes that come with that, and selecting and
// opening its rows. The window gathers input and calls these; it shows the
// models, it holds no rules.
//
// A folder is listed in two batches (sub-folders, then files), each appended
// to the listing at once. The prompt panel shows " Displaying " and the last
// row's full path once per batch, then " Ready.": nothing in between is ever
// visible, since filling does not let the window repaint.
class SourceListing
{
public:
    SourceListing(platform::ListModel &listing,
        platform::TreeModel &tree,
        platform::StatusBarModel &status,
        platform::FileSystem &fs,
        const SettingsRecord &settings,
        LibraryGenFuns &gen,
        LibraryApiFuns &api,
        UserInterface &ui,
        const platform::LocaleFormat &locale = platform::LocaleFormat::user());

    const SourceFilter &filter() const { return m_filter; }
    // The filter box or a check box changed: keeps the new filter and shows the
    // tree's selected folder again (no node selected: an empty listing).
    void changeFilter(const SourceFilter &filter);

    // Clears the listing, lists the sub-folders and then the matching files of
    // the folder whose tree key is key, and expands its node.
    void ShowFolder(const std::string &key);
    // Why the folder shown last could not be read; nothing when it could.
    const std::optional<platform::Problem> &unreadable() const { return m_unreadable; }

    KeyboardFocus SelectAllSource();
    KeyboardFocus SelectNoneSource();
    // Opens every selected row with its associated program; with no rows at
    // all it says "No item to open!".
    void OpenSourceItems();

private:
    void ListFolder(const std::string &key);
    // Adds a child node (once) and a folder row without size for each
    // sub-folder that the Hidden and System boxes let through.
    void ListSubfolders(const std::string &key, const std::vector<platform::FsItem> &folders);
    bool isListed(std::uint32_t attributes) const;
    std::vector<std::string> nodesToInsertBefore(
        const std::string &key, const std::vector<platform::FsItem> &subFolders) const;
    bool inList(std::uint32_t attributes, std::int64_t first, std::int64_t second) const;
    void showLastRowPrompt(const std::vector<platform::ListRow> &batch);
    void noteListing(const platform::Result<> &listed);

    platform::ListModel &m_listing;
    platform::TreeModel &m_tree;
    platform::StatusBarModel &m_status;
    platform::FileSystem &m_fs;
    const SettingsRecord &m_settings;
    LibraryGenFuns &m_gen;
    LibraryApiFuns &m_api;
    UserInterface &m_ui;
    const platform::LocaleFormat &m_locale;
    SourceFilter m_filter;
    std::optional<platform::Problem> m_unreadable;
};

} // namespace mrb::core
