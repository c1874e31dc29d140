// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/destination/destinationadder.h"

#include "app/browse/filerows.h"
#include "app/browse/foldertree.h"
#include "app/browse/listeditem.h"
#include "app/browse/listingcells.h"
#include "app/browse/sizetext.h"
#include "app/destination/destinationactivity.h"
#include "app/destination/destinationcommands.h"
#include "app/settings/settingvalues.h"
#include "app/userinterface/busypointer.h"
#include "platform/fs/fileuri.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <new>
#include <span>
#include <unordered_set>
#include <utility>
#include <vector>

namespace mrb::core
{

namespace
{

// What Common.Item asks a deep add for; any text but "Files" and "Folders"
// means both.
enum class ItemChoice { Files, Folders, Both };

ItemChoice itemChoice(const std::string &item)
{
    if (item == settingvalue::files)
        return ItemChoice::Files;
    if (item == settingvalue::folders)
        return ItemChoice::Folders;
    return ItemChoice::Both;
}

// Rows are moved into the destination in batches: when this many are
// gathered, or at the first folder after the move interval since the last
// move. Each move is one notification to the view and may grow the listing's
// storage, so one move per folder would cost more than the walk itself on
// trees of many small folders. A waiting row keeps its texts in strings of
// its own, several times what the listing keeps of it, so the batch stays
// a small part of a listing of a few hundred thousand rows.
constexpr std::size_t maxPendingRows = 4096;

// Turns one walk into destination rows in the deep add's order. The walk
// reports a folder, its files, then its sub-folders' walks, then the folder's
// total. The folder's row belongs after its files and before the first
// sub-folder's rows, so it is placed (without a size) as soon as the files are
// over, and its size is filled in when the walk leaves the folder: in the
// pending batch if the row is still there, else in the destination, found by
// tag (never by a row number, which a sort could have changed meanwhile).
class DeepAddWalk final : public platform::TreeVisitor
{
public:
    DeepAddWalk(platform::ListModel &destination,
        platform::StatusBarModel &status,
        const SettingsRecord &settings,
        const platform::LocaleFormat &locale,
        ItemChoice choice,
        std::chrono::milliseconds moveInterval,
        UserInterface &ui,
        const DestinationActivity &activity)
        : m_destination(destination)
        , m_status(status)
        , m_settings(settings)
        , m_locale(locale)
        , m_choice(choice)
        , m_moveInterval(moveInterval)
        , m_ui(ui)
        , m_activity(activity)
    {
    }

    void enterFolder(const platform::FsItem &folder) override
    {
        // a sub-folder begins: its parent's files are over
        if (!m_frames.empty())
            placeOwnRow(m_frames.back());
        m_frames.push_back(Frame {folder});
    }

    void file(const platform::FsItem &file) override
    {
        if (m_choice == ItemChoice::Folders)
            return;
        MakeFileRow(m_file, file, m_settings, m_locale);
        assignListRow(nextPendingRow(), m_file);
        if (m_pendingCount >= maxPendingRows)
            flush();
    }

    void leaveFolder(const platform::FsItem &, std::uint64_t total) override
    {
        if (m_frames.empty())
            return;
        Frame &frame = m_frames.back();
        placeOwnRow(frame);
        fillSize(frame, total);
        m_frames.pop_back();
    }

    // Counted by the walk's result; the folder gets no row.
    void unreadableFolder(const platform::WalkError &error) override { m_ui.folderNotRead(error.path, error.reason); }

    // Once per folder: move what is ready when it is time, then let the window run.
    bool keepGoing() override
    {
        if (!m_frames.empty())
            placeOwnRow(m_frames.back());
        if (std::chrono::steady_clock::now() - m_lastMove >= moveInterval())
            flush();
        m_ui.processEvents();
        return !m_activity.stopRequested();
    }

    // Moves the rest; rows of folders whose walk did not end keep an empty size.
    std::size_t finish()
    {
        flush();
        return m_appended;
    }

private:
    enum class RowState { NotPlaced, Pending, Appended, Dropped };

    // Each move has the view lay out all of its rows again: in a long
    // listing, moves come less often (a fifth of a second at a million rows),
    // so laying out never takes most of the add's time.
    std::chrono::milliseconds moveInterval() const
    {
        const auto bySize = std::chrono::milliseconds(m_destination.rowCount() / 5000);
        return std::max(m_moveInterval, bySize);
    }
    struct Frame {
        platform::FsItem item;
        RowState state = RowState::NotPlaced;
        std::size_t pendingIndex = 0;
    };

    void placeOwnRow(Frame &frame)
    {
        if (m_choice == ItemChoice::Files || frame.state != RowState::NotPlaced)
            return;
        frame.state = RowState::Pending;
        frame.pendingIndex = m_pendingCount;
        nextPendingRow() = toListRow(MakeFolderRow(frame.item, std::nullopt, m_settings, m_locale));
    }

    // The next row of the batch; rows are kept from batch to batch, so their
    // texts' storage is reused.
    platform::ListRow &nextPendingRow()
    {
        if (m_pendingCount == m_pending.size())
            m_pending.emplace_back();
        return m_pending[m_pendingCount++];
    }

    void fillSize(const Frame &frame, std::uint64_t total)
    {
        if (frame.state == RowState::Pending) {
            platform::ListRow &row = m_pending[frame.pendingIndex];
            cellText(row, Column::Size) = FormatSize(total, m_settings, m_locale);
            setCellValue(row, Column::Size, sizeValue(total));
        } else if (frame.state == RowState::Appended) {
            if (const std::size_t r = m_destination.findByTag(folderTag(frame.item.path)))
                setCell(m_destination, r, Column::Size, {FormatSize(total, m_settings, m_locale), sizeValue(total)});
        }
    }

    // Moves the pending rows whose tags the destination does not hold yet.
    void flush()
    {
        m_lastMove = std::chrono::steady_clock::now();
        if (m_pendingCount == 0)
            return;
        // The kept rows go to the front of the batch, in their order.
        std::vector<bool> kept(m_pendingCount);
        std::size_t keptCount = 0;
        for (std::size_t i = 0; i < m_pendingCount; ++i) {
            // match on the tag: two rows may share a name, never a tag
            kept[i] = !m_destination.containsTag(m_pending[i].tag);
            if (kept[i]) {
                if (i != keptCount)
                    std::swap(m_pending[keptCount], m_pending[i]);
                ++keptCount;
            }
        }
        for (Frame &frame : m_frames) {
            if (frame.state == RowState::Pending)
                frame.state = kept[frame.pendingIndex] ? RowState::Appended : RowState::Dropped;
        }
        m_pendingCount = 0;
        if (keptCount == 0)
            return;
        // Only the last prompt of a batch could ever be seen.
        const platform::ListRow &last = m_pending[keptCount - 1];
        m_status.setPrompt(
            " Adding " + rowFullPath(cellText(last, Column::Path), cellText(last, Column::Name)) + "...");
        m_appended += keptCount;
        m_destination.append(std::span<const platform::ListRow>(m_pending.data(), keptCount));
    }

    platform::ListModel &m_destination;
    platform::StatusBarModel &m_status;
    const SettingsRecord &m_settings;
    const platform::LocaleFormat &m_locale;
    const ItemChoice m_choice;
    const std::chrono::milliseconds m_moveInterval;
    UserInterface &m_ui;
    const DestinationActivity &m_activity;
    std::vector<Frame> m_frames; // the folders being walked, outermost first
    std::vector<platform::ListRow> m_pending; // the batch: its first m_pendingCount rows
    std::size_t m_pendingCount = 0;
    ListedItem m_file; // reused for every file's texts
    std::size_t m_appended = 0;
    std::chrono::steady_clock::time_point m_lastMove = std::chrono::steady_clock::now();
};

} // namespace

DeepAddResult DestinationAdder::deepAdd(const std::string &folderPath, const std::string &item)
{
    DeepAddResult result;
    if (!m_fs.folderExists(folderPath))
        return result;
    // said at once: the first rows may take a while to gather
    m_status.setPrompt(" Adding " + folderPath + "...");
    DeepAddWalk visitor(
        m_destination, m_status, m_settings, m_locale, itemChoice(item), m_moveInterval, m_ui, m_activity);
    const platform::WalkResult walked = m_fs.walk(folderPath, visitor);
    result.rowsAppended = visitor.finish();
    result.unreadableFolders = walked.unreadableFolders;
    result.stopped = walked.stopped;
    if (!walked.rootReadable && !walked.stopped) {
        ++result.unreadableFolders; // it exists, so it could not be read
        m_ui.folderNotRead(folderPath, walked.rootReason);
    }
    if (walked.rootReadable && !walked.stopped)
        result.total = walked.total;
    return result;
}

DestinationAdder::DestinationAdder(platform::ListModel &destination,
    platform::ListModel &source,
    platform::TreeModel &tree,
    platform::StatusBarModel &status,
    platform::FileSystem &fs,
    const SettingsRecord &settings,
    UserInterface &ui,
    DestinationActivity &activity,
    const platform::LocaleFormat &locale)
    : m_destination(destination)
    , m_source(source)
    , m_tree(tree)
    , m_status(status)
    , m_fs(fs)
    , m_settings(settings)
    , m_ui(ui)
    , m_activity(activity)
    , m_locale(locale)
{
}

bool DestinationAdder::isBusy() const
{
    return m_activity.isBusy();
}

std::optional<std::uint64_t> DestinationAdder::sizeOfFolder(const std::string &folderPath, std::size_t &unreadable)
{
    std::vector<platform::WalkError> notRead;
    const std::optional<std::uint64_t> total = m_fs.folderSize(folderPath, &notRead);
    for (const platform::WalkError &error : notRead)
        m_ui.folderNotRead(error.path, error.reason);
    unreadable += notRead.size();
    return total;
}

std::string DestinationAdder::endPrompt(std::size_t unreadableFolders) const
{
    if (unreadableFolders == 0)
        return " Ready.";
    return " Ready. " + std::to_string(unreadableFolders) + " folder(s) could not be read.";
}

bool DestinationAdder::withinMemory(const std::function<void()> &add)
{
    try {
        add();
        return true;
    } catch (const std::bad_alloc &) {
        // What was gathered but not moved went with the stack; what reached
        // the destination stays.
        return false;
    }
}

void DestinationAdder::tellOutOfMemory()
{
    m_ui.outOfMemory("Not enough memory to add everything: the add stopped, and the items added before stay.");
}

std::size_t DestinationAdder::AddToDestination()
{
    if (isBusy())
        return 0;
    if (m_source.empty()) {
        m_ui.showMessage("No item to add!", MessageIcon::Information);
        return 0;
    }
    // The window may re-list the source while a deep add lets it run: work on
    // the rows that were selected when the command began.
    std::vector<platform::ListRow> selected;
    for (std::size_t r = 1; r <= m_source.rowCount(); ++r) {
        if (m_source.isSelected(r))
            selected.push_back(m_source.row(r));
    }
    return addRows(std::move(selected), 0);
}

std::size_t DestinationAdder::AddDroppedToDestination(std::string_view uriList)
{
    if (isBusy())
        return 0;
    // Each item becomes the row the source listing would show for it, and
    // goes over as a selected source row does.
    std::vector<platform::ListRow> rows;
    std::size_t skipped = 0;
    {
        const BusyPointer busy(m_ui);
        for (const std::string_view address : platform::uriListEntries(uriList)) {
            const std::optional<std::string> path = platform::localPathOfUri(address);
            if (path) {
                if (const std::optional<platform::FsItem> folder = m_fs.folder(*path)) {
                    rows.push_back(toListRow(MakeFolderRow(*folder, m_locale)));
                    continue;
                }
                if (const std::optional<platform::FsItem> file = m_fs.file(*path)) {
                    rows.push_back(toListRow(MakeFileRow(*file, m_settings, m_locale)));
                    continue;
                }
            }
            // a web address, another machine's file, or a file gone meanwhile
            ++skipped;
        }
    }
    return addRows(std::move(rows), skipped);
}

std::size_t DestinationAdder::addRows(std::vector<platform::ListRow> rows, std::size_t skipped)
{
    std::size_t appended = 0;
    std::size_t unreadable = 0;
    bool complete = true;
    {
        const DestinationActivity::Scope running(m_activity);
        const BusyPointer busy(m_ui);
        complete = withinMemory([&] { addEachRow(rows, appended, unreadable); });
        // an add cut short may have appended rows it could not count
        if (appended > 0 || !complete)
            core::UpdateCounters(m_destination, m_status);
        std::string prompt = endPrompt(unreadable);
        if (skipped > 0)
            prompt +=
                " " + std::to_string(skipped) + " dropped item(s) skipped: no such file or folder on this machine.";
        m_status.setPrompt(prompt);
    }
    if (!complete)
        tellOutOfMemory();
    return appended;
}

void DestinationAdder::addEachRow(std::vector<platform::ListRow> &rows, std::size_t &appended, std::size_t &unreadable)
{
    const bool withContents = m_settings.isOn(Setting::CommonSub);
    // the options dialog may change the record while a deep add runs
    const std::string item = m_settings.value(Setting::CommonItem);

    // Rows go over in batches, so a sorted destination places many rows in
    // one pass; a batch is moved before each deep add, which looks for them.
    std::vector<platform::ListRow> batch;
    std::unordered_set<std::string> batchTags;
    const auto moveBatch = [&] {
        appended += batch.size();
        m_destination.append(std::move(batch));
        batch.clear();
        batchTags.clear();
    };
    for (platform::ListRow &row : rows) {
        if (m_activity.stopRequested())
            break;
        if (m_destination.containsTag(row.tag) || batchTags.count(row.tag) > 0)
            continue;
        row.selected = false;
        const bool isFolder = isFolderTag(row.tag);
        const std::string folderPath = isFolder ? row.tag.substr(folderMarker.size()) : std::string();
        const std::string fullPath = rowFullPath(cellText(row, Column::Path), cellText(row, Column::Name));
        if (isFolder && !withContents) {
            // an unreadable folder keeps the source's Size text
            if (const std::optional<std::uint64_t> total = sizeOfFolder(folderPath, unreadable)) {
                cellText(row, Column::Size) = FormatSize(*total, m_settings, m_locale);
                setCellValue(row, Column::Size, sizeValue(total));
            }
        }
        batchTags.insert(row.tag);
        batch.push_back(std::move(row));
        if (isFolder && withContents) {
            moveBatch();
            const DeepAddResult result = deepAdd(folderPath, item);
            appended += result.rowsAppended;
            unreadable += result.unreadableFolders;
        }
        m_status.setPrompt(" Adding " + fullPath + "...");
    }
    moveBatch();
}

std::size_t DestinationAdder::AddTreeFolderToDestination()
{
    if (isBusy())
        return 0;
    const std::string key = m_tree.selectedKey();
    const platform::TreeNode *node = m_tree.node(key);
    // drive nodes are never added this way; the home folder is a folder
    if (!node || isDriveNode(*node))
        return 0;
    const std::string nodeText = node->text;

    std::size_t appended = 0;
    bool complete = true;
    {
        const DestinationActivity::Scope running(m_activity);
        const BusyPointer busy(m_ui);
        if (m_destination.containsTag(folderTag(key)))
            return 0;
        std::size_t unreadable = 0;
        complete = withinMemory([&] { appended = addTreeFolder(key, nodeText, unreadable); });
        core::UpdateCounters(m_destination, m_status);
        m_status.setPrompt(endPrompt(unreadable));
    }
    if (!complete)
        tellOutOfMemory();
    return appended;
}

std::size_t DestinationAdder::addTreeFolder(
    const std::string &key, const std::string &nodeText, std::size_t &unreadable)
{
    // A folder that cannot be read any more still gets its row, with what is known.
    platform::FsItem folder;
    if (std::optional<platform::FsItem> found = m_fs.folder(key)) {
        folder = std::move(*found);
    } else {
        folder.path = key;
        folder.parentPath = platform::parentPathOf(key);
        folder.isFolder = true;
    }
    folder.name = nodeText;
    folder.path = key;

    const bool withContents = m_settings.isOn(Setting::CommonSub);
    // With its contents, the size comes from the deep add's own walk.
    const std::optional<std::uint64_t> total = withContents ? std::nullopt : sizeOfFolder(key, unreadable);
    m_destination.append(toListRow(MakeFolderRow(folder, total, m_settings, m_locale)));
    std::size_t appended = 1;
    if (withContents) {
        const DeepAddResult result = deepAdd(key, m_settings.value(Setting::CommonItem));
        appended += result.rowsAppended;
        unreadable += result.unreadableFolders;
        if (result.total) {
            if (const std::size_t r = m_destination.findByTag(folderTag(key)))
                setCell(m_destination,
                    r,
                    Column::Size,
                    {FormatSize(*result.total, m_settings, m_locale), sizeValue(result.total)});
        }
    }
    return appended;
}

DeepAddResult DestinationAdder::AddFolderContents(const std::string &folderPath)
{
    if (isBusy())
        return {};
    DeepAddResult result;
    bool complete = true;
    {
        const DestinationActivity::Scope running(m_activity);
        complete = withinMemory([&] { result = deepAdd(folderPath, m_settings.value(Setting::CommonItem)); });
    }
    if (!complete)
        tellOutOfMemory();
    return result;
}

} // namespace mrb::core
