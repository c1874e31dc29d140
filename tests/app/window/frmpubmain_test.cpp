// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/columnsort.h"
#include "app/browse/filerows.h"
#include "app/destination/destinationactivity.h"
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"
#include "app/options/designfont.h"
#include "app/window/frmPubMain.h"
#include "app/window/raisechannel.h"
#include "app/window/weblinks.h"
#include "platform/fs/fileuri.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/listingfixtures.h"
#include "tests/support/mrblistrun.h"
#include "tests/support/temptree.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace mrb;
using mrb::test::TempTree;
using mrb::ui::frmPubMain;

namespace
{

struct Message {
    std::string text;
    core::MessageIcon icon;
};

enum class Library { Present, Missing };

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { programFolder = tree.dir("program"); }

    frmPubMain &open(Library library = Library::Present)
    {
        ui::StartupObjects objects;
        if (library == Library::Present) {
            auto fake = std::make_unique<test::FakeApiFuns>();
            api = fake.get();
            objects.api = std::move(fake);
            objects.gen = std::make_unique<core::LocalGenFuns>();
            objects.libraryLoaded = true;
        } else {
            objects.libraryProblem = "no such class";
        }
        objects.fs = std::make_unique<platform::PosixFileSystem>();
        objects.programFolder = programFolder;
        if (!realMessageBoxes)
            objects.messageSink = [this](const std::string &text, core::MessageIcon icon) {
                messages.push_back({text, icon});
            };
        window = std::make_unique<frmPubMain>(std::move(objects));
        spy = std::make_unique<QSignalSpy>(window.get(), &frmPubMain::commandRun);
        QCoreApplication::processEvents();
        return *window;
    }

    void showActive()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T> T *child(const char *name) const { return window->findChild<T *>(QString::fromLatin1(name)); }

    // Closes every modal dialog as soon as it is up, for tests that only route commands.
    void closeDialogsWhenShown()
    {
        auto *timer = new QTimer(window.get());
        QObject::connect(timer, &QTimer::timeout, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        timer->start(20);
    }

    std::string prompt() const { return window->statusBarModel().prompt(); }
    QString panelText(int panel) const { return child<QLabel>(("stbPanel" + std::to_string(panel)).c_str())->text(); }

    std::vector<QString> commandsRun() const
    {
        std::vector<QString> names;
        for (const QList<QVariant> &call : *spy)
            names.push_back(call.at(0).toString());
        return names;
    }

    // A mouse movement delivered to the widget the pointer is over.
    static void moveOver(QWidget *widget, QPoint at = {2, 2})
    {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    void highlight(const char *menuName, const char *itemName)
    {
        QMenu *menu = child<QMenu>(menuName);
        menu->popup(window->mapToGlobal(QPoint(10, 10)));
        menu->setActiveAction(window->action(itemName));
    }

    QModelIndex treeIndexOf(const std::string &key) const
    {
        QTreeView *trv = child<QTreeView>("trv");
        const QModelIndexList found = trv->model()->match(trv->model()->index(0, 0),
            Qt::ToolTipRole,
            QString::fromStdString(key),
            1,
            Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? QModelIndex() : found.first();
    }

    // Clicks the node with this key, as the user would.
    void clickNode(const std::string &key)
    {
        QTreeView *trv = child<QTreeView>("trv");
        const QModelIndex index = treeIndexOf(key);
        ASSERT_TRUE(index.isValid()) << key;
        // nodes added by the last click are laid out lazily
        trv->doItemsLayout();
        trv->scrollTo(index);
        QCoreApplication::processEvents();
        // near the item's left end: the column may be wider than the view
        const QRect item = trv->visualRect(index);
        QTest::mouseClick(trv->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(item.left() + 8, item.center().y()));
        ASSERT_EQ(window->folderTree().selectedKey(), key);
    }

    // Clicks from the drive that holds path down to path itself.
    void browseTo(const std::string &path)
    {
        std::string drive;
        for (const std::string &key : window->folderTree().topLevelKeys()) {
            const bool holds = key == "/" || path == key || path.starts_with(key + "/");
            if (holds && key.size() > drive.size())
                drive = key;
        }
        ASSERT_FALSE(drive.empty());
        clickNode(drive);
        std::string key = drive;
        std::size_t from = drive == "/" ? 1 : drive.size() + 1;
        while (key != path) {
            const std::size_t slash = path.find('/', from);
            key = path.substr(0, slash);
            clickNode(key);
            from = slash == std::string::npos ? path.size() : slash + 1;
        }
    }

    // A click on a column's header in a listing, as the user would.
    void clickHeader(const char *listing, int section)
    {
        QHeaderView *header = child<QTreeView>(listing)->header();
        const QPoint at(header->sectionViewportPosition(section) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::vector<std::string> sourceNames() const
    {
        std::vector<std::string> names;
        platform::ListModel &listing = window->sourceListing();
        for (std::size_t r = 1; r <= listing.rowCount(); ++r)
            names.emplace_back(listing.text(r));
        return names;
    }

    std::vector<std::string> childTexts(const std::string &key) const
    {
        std::vector<std::string> texts;
        for (const std::string &childKey : window->folderTree().childKeys(key))
            texts.push_back(window->folderTree().node(childKey)->text);
        return texts;
    }

    TempTree tree;
    std::string programFolder;
    std::vector<Message> messages;
    bool realMessageBoxes = false; // show QMessageBox instead of recording
    test::FakeApiFuns *api = nullptr; // the library's, when it is present
    std::unique_ptr<frmPubMain> window;
    std::unique_ptr<QSignalSpy> spy;
};

using Names = std::vector<std::string>;

// The application's font for one test, as the desktop would set it.
class FontForTest
{
public:
    explicit FontForTest(const QFont &font)
        : m_saved(QApplication::font())
    {
        QApplication::setFont(font);
    }
    ~FontForTest() { QApplication::setFont(m_saved); }

private:
    QFont m_saved;
};

} // namespace

TEST_F(MainWindowTest, StartsWithDrivesEmptyListingsAndReady)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Marrowby");
    QTreeView *trv = child<QTreeView>("trv");
    ASSERT_NE(trv, nullptr);
    EXPECT_GT(trv->model()->rowCount(), 0);
    EXPECT_EQ(static_cast<std::size_t>(trv->model()->rowCount()), window->folderTree().nodeCount());
    EXPECT_TRUE(window->folderTree().selectedKey().empty());
    EXPECT_EQ(child<QTreeView>("lsvSource")->model()->rowCount(), 0);
    EXPECT_EQ(child<QTreeView>("lsvTarget")->model()->rowCount(), 0);
    EXPECT_EQ(child<QLineEdit>("txtFilter")->text(), "*.*");
    EXPECT_FALSE(child<QCheckBox>("cbxHidden")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("cbxSystem")->isChecked());
    EXPECT_EQ(child<QCheckBox>("cbxHidden")->text(), "Hidden");
    EXPECT_EQ(child<QCheckBox>("cbxSystem")->text(), "System");
    // the start texts carry no leading blank
    EXPECT_EQ(panelText(1), "Folders: 0");
    EXPECT_EQ(panelText(2), "Files: 0");
    EXPECT_EQ(panelText(3), "Ready.");
    EXPECT_EQ(child<QLabel>("stbPanel3")->toolTip(), "System prompts.");
    // the destination headers and the settings written on first start
    EXPECT_EQ(child<QTreeView>("lsvTarget")->model()->headerData(5, Qt::Horizontal).toString(), "Midified Date");
    EXPECT_FALSE(TempTree::read(programFolder + "/options.dll").empty());
    EXPECT_EQ(window->settings().value(core::Setting::CommonPath), "True");
    EXPECT_EQ(window->destinationListing().stamp(), "KB2");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(commandsRun().empty());
}

TEST_F(MainWindowTest, MissingLibraryIsToldOnceAndSettingsStillLoad)
{
    tree.fileWith("program/options.dll", "[Common]\r\nPath=False\r\nUnit=MB\r\nPrecision=1\r\n");
    open(Library::Missing);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("libQFC_MRB.so"), std::string::npos);
    EXPECT_NE(messages[0].text.find("mrb-register"), std::string::npos);
    EXPECT_NE(messages[0].text.find("scripts/run.sh"), std::string::npos);
    EXPECT_EQ(window->settings().value(core::Setting::CommonUnit), "MB");
    EXPECT_EQ(window->destinationListing().stamp(), "MB1");
    // the Path switch is off: the destination's path column is hidden
    EXPECT_TRUE(child<QTreeView>("lsvTarget")->header()->isSectionHidden(1));
    // links need the library: nothing happens, nothing is said
    window->action("menhh")->trigger();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(MainWindowTest, MakeWithoutTheLibraryStillTakesItsFirstSteps)
{
    // Make used to do nothing at all without the library; only the save
    // dialog needs it.
    tree.fileWith("program/options.dll", "[Common]\r\nPath=True\r\n[System]\r\nDialog=False\r\n");
    open(Library::Missing);
    QCoreApplication::processEvents();
    messages.clear();
    window->action("mentm")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "No available item for outputting!");

    window->destinationListing().append(platform::ListRow {"a.txt", {"/d"}, "/d/a.txt"});
    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            shown = dialog->objectName();
            dialog->close();
        }
    });
    window->action("mentm")->trigger();
    EXPECT_EQ(shown, "frmPubOptions");
    // no save dialog without the library: the command ends there, silently
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts)
{
    open();
    // the Catalog menu comes after Tools
    const std::vector<std::pair<const char *, const char *>> titles = {
        {"mens", "&Source"}, {"mend", "&Destination"}, {"ment", "&Tools"}, {"menc", "&Catalog"}, {"menh", "&Help"}};
    QList<QAction *> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bar[i]->text(), titles[static_cast<std::size_t>(i)].second);
        EXPECT_EQ(bar[i]->menu()->objectName(), titles[static_cast<std::size_t>(i)].first);
    }
    EXPECT_EQ(window->action("mento")->text(), "&Options...");
    EXPECT_EQ(window->action("mento")->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(window->action("mendc")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_TRUE(window->action("mendsa")->isSeparator());
    EXPECT_EQ(child<QMenu>("mend")->actions().size(), 6);
    EXPECT_EQ(window->action("mentf")->text(), "Size Of The Destination &File(s)...");
}

TEST_F(MainWindowTest, MenuPromptsTellSharedCaptionsApart)
{
    open();
    highlight("mend", "mendn");
    EXPECT_EQ(prompt(), " Do not select any item in the destination listing.");
    child<QMenu>("mend")->hide();
    highlight("mens", "mensn");
    EXPECT_EQ(prompt(), " Do not select any item in the source listing <Ctrl+N>.");
    child<QMenu>("mens")->hide();
    highlight("mend", "mendo");
    EXPECT_EQ(prompt(), " Runs/opens the selected items in the destination listing.");
    child<QMenu>("mend")->hide();
    highlight("mens", "menso");
    EXPECT_EQ(prompt(), " Runs/opens the selected items in the source listing.");
    child<QMenu>("mens")->hide();
    // the menu closing leaves the prompt
    EXPECT_EQ(prompt(), " Runs/opens the selected items in the source listing.");
}

TEST_F(MainWindowTest, MenuTitleAfterMakeKeepsTheMakePrompt)
{
    open();
    showActive();
    highlight("ment", "mentm");
    const std::string make = " Outputs the destination items to a file using current settings <F5>.";
    EXPECT_EQ(prompt(), make);
    child<QMenu>("ment")->hide();
    window->menuBar()->setActiveAction(child<QMenu>("ment")->menuAction());
    EXPECT_EQ(prompt(), make);
    // a sub-menu title inside a menu changes nothing either
    Q_EMIT child<QMenu>("ment")->hovered(child<QMenu>("menh")->menuAction());
    EXPECT_EQ(prompt(), make);
    Q_EMIT child<QMenu>("ment")->hovered(window->action("mentsa"));
    EXPECT_EQ(prompt(), make);
    window->menuBar()->setActiveAction(nullptr);
    EXPECT_EQ(prompt(), make);
}

TEST_F(MainWindowTest, MouseMovementShowsControlTipsAndReady)
{
    open();
    showActive();
    moveOver(child<QTreeView>("lsvSource")->viewport());
    EXPECT_EQ(prompt(), " Source listing.");
    moveOver(child<QTreeView>("lsvTarget")->viewport());
    EXPECT_EQ(prompt(), " Destination listing.");
    moveOver(child<QTreeView>("trv")->viewport());
    EXPECT_EQ(prompt(), " System resources.");
    moveOver(child<QToolBar>("tlb"), {child<QToolBar>("tlb")->width() / 2, 2});
    EXPECT_EQ(prompt(), " Toolbar.");
    moveOver(child<QCheckBox>("cbxHidden"));
    EXPECT_EQ(prompt(), " Checks it to show the hidden items.");
    moveOver(child<QCheckBox>("cbxSystem"));
    EXPECT_EQ(prompt(), " Checks it to show the system items.");
    moveOver(child<QLineEdit>("txtFilter"));
    EXPECT_EQ(prompt(), " Changes it to filter items.");
    moveOver(window->statusBar());
    EXPECT_EQ(prompt(), " Ready.");
    moveOver(child<QLineEdit>("txtFilter"));
    // the window background: the left margin beside the tree
    QWidget *client = window->centralWidget();
    moveOver(client, {1, child<QTreeView>("trv")->geometry().center().y()});
    EXPECT_EQ(prompt(), " Ready.");
    EXPECT_EQ(panelText(3), " Ready.");
}

TEST_F(MainWindowTest, ShortcutsRouteToTheirMenuItems)
{
    open();
    showActive();
    child<QTreeView>("lsvSource")->setFocus();
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(commandsRun(), (std::vector<QString> {"menss", "mensa", "mendr", "mendc", "mensn", "mentm"}));
}

TEST_F(MainWindowTest, F4OpensTheOptionsDialogModally)
{
    open();
    showActive();
    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            shown = dialog->objectName();
            dialog->close();
        }
    });
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(shown, "frmPubOptions");
    EXPECT_EQ(commandsRun(), (std::vector<QString> {"mento"}));
}

// Ctrl+A typed in the filter box used to select every source row and move
// the focus to the listing, so the next keys went there.
TEST_F(MainWindowTest, FilterBoxKeepsTheListingsKeysForItself)
{
    open();
    showActive();
    QLineEdit *filter = child<QLineEdit>("txtFilter");
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(filter->selectedText(), "*.*");
    QTest::keyClick(filter, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(commandsRun().empty());
    QTest::keyClicks(filter, "*.mp3");
    EXPECT_EQ(filter->text(), "*.mp3");
    EXPECT_TRUE(filter->hasFocus());
    // the window's own keys work from there as from anywhere
    QTest::keyClick(filter, Qt::Key_F1);
    EXPECT_EQ(commandsRun(), (std::vector<QString> {"menhh"}));
}

TEST_F(MainWindowTest, F1OpensTheHomepageNotTheAboutBox)
{
    open();
    showActive();
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(api->commands.size(), 1u);
    EXPECT_EQ(api->commands[0].first, ui::weblinks::productHomepage);
    EXPECT_EQ(api->commands[0].second, core::WindowState::MaximizedFocus);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, ToolbarButtonsRunTheirMenuItems)
{
    open();
    closeDialogsWhenShown();
    const char *buttons[] = {"tlb_all", "tlb_add", "tlb_remove", "tlb_clear", "tlb_options", "tlb_donate"};
    for (const char *name : buttons)
        child<QAction>(name)->trigger();
    EXPECT_EQ(commandsRun(), (std::vector<QString> {"menss", "mensa", "mendr", "mendc", "mento", "menhd"}));
    EXPECT_EQ(child<QAction>("tlb_make")->toolTip(), "Outputs the destination items to a file.");
    EXPECT_EQ(child<QAction>("tlb_options")->text(), "Options");
}

TEST_F(MainWindowTest, EveryDonationEntryOpensTheSameAddress)
{
    open();
    child<QAction>("tlb_donate")->trigger();
    window->action("menhd")->trigger();
    ASSERT_EQ(api->commands.size(), 2u);
    EXPECT_EQ(api->commands[0].first, ui::weblinks::donationPage);
    EXPECT_EQ(api->commands[1].first, ui::weblinks::donationPage);
}

TEST_F(MainWindowTest, RightClickPopsUpTheListingsMenu)
{
    open();
    showActive();
    for (auto [listing, menu] : {std::pair {"lsvSource", "mens"}, std::pair {"lsvTarget", "mend"}}) {
        QWidget *viewport = child<QTreeView>(listing)->viewport();
        QTest::mouseRelease(viewport, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        EXPECT_TRUE(child<QMenu>(menu)->isVisible()) << menu;
        child<QMenu>(menu)->hide();
    }
}

TEST_F(MainWindowTest, FolderClickShowsTheFolderInTheListingAndTheTree)
{
    tree.file("shown/z.txt", 3);
    tree.file("shown/a.log", 1);
    tree.file("shown/M.txt", 2);
    tree.dir("shown/b-dir");
    tree.dir("shown/a-dir");
    tree.dir("shown/.secret");
    open();
    showActive();
    const std::string shown = tree.path("shown");
    browseTo(shown);
    EXPECT_EQ(window->folderTree().selectedKey(), shown);
    EXPECT_EQ(sourceNames(), (Names {"a-dir", "b-dir", "a.log", "M.txt", "z.txt"}));
    EXPECT_EQ(childTexts(shown), (Names {"a-dir", "b-dir"}));
    EXPECT_TRUE(child<QTreeView>("trv")->isExpanded(treeIndexOf(shown)));
    EXPECT_EQ(prompt(), " Ready.");
    EXPECT_EQ(child<QTreeView>("lsvSource")->model()->rowCount(), 5);
}

TEST_F(MainWindowTest, FilterAndBoxesRelistTheFolder)
{
    tree.file("f/song.mp3");
    tree.file("f/notes.txt");
    tree.file("f/.hidden.txt");
    tree.dir("f/sub");
    tree.dir("f/.cache");
    open();
    showActive();
    const std::string folder = tree.path("f");
    browseTo(folder);
    EXPECT_EQ(sourceNames(), (Names {"sub", "notes.txt", "song.mp3"}));

    QLineEdit *filter = child<QLineEdit>("txtFilter");
    filter->setFocus();
    filter->selectAll();
    QTest::keyClicks(filter, "*.t");
    EXPECT_EQ(sourceNames(), (Names {"sub"}));
    QTest::keyClicks(filter, "xt");
    EXPECT_EQ(sourceNames(), (Names {"sub", "notes.txt"}));

    QTest::mouseClick(child<QCheckBox>("cbxHidden"), Qt::LeftButton);
    EXPECT_EQ(sourceNames(), (Names {".cache", "sub", ".hidden.txt", "notes.txt"}));
    // the new node takes its place among the nodes already there
    EXPECT_EQ(childTexts(folder), (Names {".cache", "sub"}));

    QTest::mouseClick(child<QCheckBox>("cbxHidden"), Qt::LeftButton);
    EXPECT_EQ(sourceNames(), (Names {"sub", "notes.txt"}));
}

TEST_F(MainWindowTest, MovingThroughTheTreeWithKeysShowsTheFolderReached)
{
    tree.file("k/first/one.txt", 1);
    tree.file("k/second/two.txt", 2);
    open();
    showActive();
    browseTo(tree.path("k/first"));
    QTreeView *trv = child<QTreeView>("trv");
    trv->setFocus();
    QTest::keyClick(trv, Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->folderTree().selectedKey(), tree.path("k/second"));
    const platform::ListModel &source = window->sourceListing();
    ASSERT_EQ(source.rowCount(), 1u);
    EXPECT_EQ(source.text(1), "two.txt");
}

TEST_F(MainWindowTest, HeaderClickSortsTheListingAndMarksTheHeader)
{
    tree.file("s/b.txt");
    tree.file("s/A.txt");
    tree.file("s/c.txt");
    open();
    showActive();
    browseTo(tree.path("s"));
    clickHeader("lsvSource", 0);
    EXPECT_EQ(sourceNames(), (Names {"c.txt", "b.txt", "A.txt"}));
    EXPECT_EQ(window->sourceListing().column(1).headerIcon, 2);
    EXPECT_FALSE(child<QTreeView>("lsvSource")->model()->headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
}

TEST_F(MainWindowTest, DestinationHeaderClickWaitsWhileMakeHoldsTheOrder)
{
    open();
    showActive();
    platform::ListModel &destination = window->destinationListing();
    for (const char *name : {"b", "a", "c"})
        destination.append(platform::ListRow {name, {"/m"}, std::string("/m/") + name, 0, 0, false});
    {
        // as while Make writes the rows and lets the window run
        const core::DestinationActivity::Scope writing(
            window->destinationActivity(), core::DestinationActivity::Scope::Order::Held);
        clickHeader("lsvTarget", 0);
        EXPECT_EQ(destination.text(1), "b");
        EXPECT_FALSE(destination.isSorted());
    }
    clickHeader("lsvTarget", 0);
    EXPECT_EQ(destination.text(1), "c");
}

TEST_F(MainWindowTest, SelectionLivesInTheModel)
{
    tree.file("sel/one");
    tree.file("sel/two");
    tree.file("sel/three");
    open();
    showActive();
    browseTo(tree.path("sel"));
    QTreeView *view = child<QTreeView>("lsvSource");
    // a click in the view selects the model's row
    view->setFocus();
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(view->model()->index(1, 0)).center());
    EXPECT_EQ(window->sourceListing().selectedCount(), 1u);
    EXPECT_TRUE(window->sourceListing().isSelected(2));
    // the core's select all shows in the view
    window->action("menss")->trigger();
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 3);
    window->action("mensn")->trigger();
    EXPECT_TRUE(view->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(window->sourceListing().selectedCount(), 0u);
}

TEST_F(MainWindowTest, DesignClientAreaGivesTheDesignedPanes)
{
    // in the face the design was drawn for, its twips are the window's
    const FontForTest design(ui::designFont());
    open();
    window->show();
    const ui::PixelGrid grid = window->pixelGrid();
    QWidget *client = window->centralWidget();
    // the client area is the central widget and the status bar below it
    const QSize target(grid.toPixels(12345), grid.toPixels(9150));
    window->resize(window->size() + target - QSize(client->width(), client->height() + window->statusBar()->height()));
    QCoreApplication::processEvents();
    ASSERT_EQ(client->width(), target.width());
    const ui::PaneLayout &layout = window->paneLayout();
    EXPECT_EQ(layout.trv.left, 90);
    // a fifth of the width (2415), or more where a sixteen-letter folder name needs it
    EXPECT_GE(layout.trv.width, 2415);
    EXPECT_LT(layout.trv.width, 3000);
    EXPECT_EQ(layout.lsvSource.left, layout.trv.width + 180);
    EXPECT_EQ(layout.lsvSource.width, 12345 - 270 - layout.trv.width);
    EXPECT_EQ(layout.lsvTarget.left, layout.lsvSource.left);
    EXPECT_EQ(layout.lsvTarget.top, layout.lsvSource.bottom() + 90);
    // the toolbar fits its 600-twip band, so the panes start at 690
    EXPECT_EQ(layout.trv.top, 690);
    EXPECT_EQ(child<QTreeView>("trv")->geometry(),
        QRect(
            grid.toPixels(90), grid.toPixels(690), grid.toPixels(layout.trv.width), child<QTreeView>("trv")->height()));
    EXPECT_EQ(child<QTreeView>("lsvSource")->x(), grid.toPixels(layout.lsvSource.left));
    EXPECT_EQ(child<QTreeView>("lsvTarget")->geometry().bottom(), child<QTreeView>("trv")->geometry().bottom());
    // the filter group keeps to the band's right end, the toolbar ends before it
    const QRect group = child<QWidget>("Frame1")->geometry();
    EXPECT_EQ(group.top(), grid.toPixels(30));
    EXPECT_EQ(group.right() + 1, target.width() - grid.toPixels(ui::frame1RightMargin));
    EXPECT_LE(child<QToolBar>("tlb")->geometry().right(), group.left());
    EXPECT_LE(child<QToolBar>("tlb")->height(), grid.toPixels(600));
    window->resize(window->width() + 300, window->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QWidget>("Frame1")->geometry().right() + 1, client->width() - grid.toPixels(ui::frame1RightMargin));
}

TEST_F(MainWindowTest, SplitterDragFollowsTheMouseWithinItsLimits)
{
    open();
    window->show();
    QCoreApplication::processEvents();
    auto *bar = child<QLabel>("lblVSplitter");
    const QColor face = bar->palette().color(QPalette::Window);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(2, 10));
    EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(128, 128, 128));
    QMouseEvent move(QEvent::MouseMove,
        QPointF(-2000, 10),
        bar->mapToGlobal(QPointF(-2000, 10)),
        Qt::NoButton,
        Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    const ui::PixelGrid grid = window->pixelGrid();
    const ui::PaneLayout &layout = window->paneLayout();
    EXPECT_EQ(layout.lblVSplitter.left, grid.snap(2000));
    EXPECT_EQ(layout.trv.width, grid.snap(2000) - 90);
    EXPECT_EQ(child<QTreeView>("lsvSource")->x(), grid.toPixels(layout.lblVSplitter.left + 90));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(2, 10));
    EXPECT_EQ(bar->palette().color(QPalette::Window), face);

    // a resize brings back the proportional layout
    window->resize(1200, window->height());
    QCoreApplication::processEvents();
    const double clientWidth = grid.toTwips(window->centralWidget()->width());
    EXPECT_EQ(layout.trv.width, grid.snap((clientWidth - 270) / 5));
}

TEST_F(MainWindowTest, AboutBoxIsModalWithItsLinks)
{
    // in the face the design was drawn for, its twips are the box's
    const FontForTest design(ui::designFont());
    open();
    showActive();
    QString caption;
    QSize clientSize;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        QWidget *about = QApplication::activeModalWidget();
        if (!about)
            return;
        caption = about->windowTitle();
        clientSize = about->size();
        about->findChild<QPushButton *>("cmbDonate")->click();
        auto *logo = about->findChild<QLabel *>("imgProdLogo");
        QTest::mouseClick(logo, Qt::LeftButton);
        QTest::mouseClick(about->findChild<QLabel *>("imgCompLogo"), Qt::LeftButton);
        stayedOpen = about->isVisible();
        EXPECT_EQ(about->findChild<QLabel *>("Label2")->text(), "Version 2.1 (Build 014)");
        EXPECT_EQ(logo->cursor().shape(), Qt::PointingHandCursor);
        about->close();
    });
    window->action("menha")->trigger();
    EXPECT_EQ(caption, "About Marrowby");
    const ui::PixelGrid grid = window->pixelGrid();
    // the design's size, wider only as far as the donation button's caption needs
    EXPECT_GE(clientSize.width(), grid.toPixels(7805));
    EXPECT_LE(clientSize.width(), grid.toPixels(7805) + 10);
    EXPECT_EQ(clientSize.height(), grid.toPixels(2041));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(api->commands.size(), 3u);
    EXPECT_EQ(api->commands[0].first, ui::weblinks::donationPage);
    EXPECT_EQ(api->commands[1].first, ui::weblinks::productHomepage);
    EXPECT_EQ(api->commands[2].first, ui::weblinks::makerHomepage);
}

TEST_F(MainWindowTest, HelpMenuOpensEachPageMaximised)
{
    open();
    for (const char *item : {"menhh", "menhv", "menhl", "menhd", "menhr"})
        window->action(item)->trigger();
    const std::vector<std::string_view> expected = {ui::weblinks::productHomepage,
        ui::weblinks::freewareList,
        ui::weblinks::facebookPage,
        ui::weblinks::donationPage,
        ui::weblinks::recommendPage};
    ASSERT_EQ(api->commands.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(api->commands[i].first, expected[i]);
        EXPECT_EQ(api->commands[i].second, core::WindowState::MaximizedFocus);
    }
}

TEST_F(MainWindowTest, CtrlTAddsTheSelectedSourceRowsAndCounts)
{
    tree.file("d/a.txt", 10);
    tree.file("d/b.txt", 20);
    tree.dir("d/sub");
    open();
    showActive();
    browseTo(tree.path("d"));
    child<QTreeView>("lsvSource")->setFocus();
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    platform::ListModel &destination = window->destinationListing();
    ASSERT_EQ(destination.rowCount(), 3u);
    EXPECT_EQ(child<QTreeView>("lsvTarget")->model()->rowCount(), 3);
    EXPECT_EQ(panelText(1), " Folders: 1 ");
    EXPECT_EQ(panelText(2), " Files: 2 ");
    EXPECT_EQ(panelText(3), " Ready.");

    // Delete in the destination removes its selected rows
    window->action("menda")->trigger();
    QTreeView *lsvTarget = child<QTreeView>("lsvTarget");
    EXPECT_EQ(lsvTarget->selectionModel()->selectedRows().size(), 3);
    QTest::keyClick(lsvTarget, Qt::Key_Delete);
    EXPECT_EQ(destination.rowCount(), 0u);
    EXPECT_EQ(lsvTarget->model()->rowCount(), 0);
    EXPECT_EQ(panelText(1), " Folders: 0 ");
    EXPECT_EQ(panelText(2), " Files: 0 ");
}

TEST_F(MainWindowTest, TreeDoubleClickAddsTheSelectedFolder)
{
    tree.file("t/inner/x.bin", 5);
    open();
    showActive();
    const std::string folder = tree.path("t/inner");
    browseTo(folder);
    QTreeView *trv = child<QTreeView>("trv");
    const QPoint at(trv->visualRect(treeIndexOf(folder)).left() + 8, trv->visualRect(treeIndexOf(folder)).center().y());
    QTest::mouseDClick(trv->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    platform::ListModel &destination = window->destinationListing();
    ASSERT_EQ(destination.rowCount(), 1u);
    EXPECT_EQ(destination.tag(1), "<D>" + folder);
    EXPECT_EQ(destination.text(1), "inner");
    EXPECT_EQ(panelText(1), " Folders: 1 ");

    // a drive node is never added by a double-click ("/" comes last)
    const std::string drive = window->folderTree().topLevelKeys().back();
    trv->scrollTo(treeIndexOf(drive));
    const QRect driveRect = trv->visualRect(treeIndexOf(drive));
    const QPoint onDrive(driveRect.left() + 8, driveRect.center().y());
    QTest::mouseClick(trv->viewport(), Qt::LeftButton, Qt::NoModifier, onDrive);
    QTest::mouseDClick(trv->viewport(), Qt::LeftButton, Qt::NoModifier, onDrive);
    EXPECT_EQ(window->folderTree().selectedKey(), drive);
    EXPECT_EQ(destination.rowCount(), 1u);
}

TEST_F(MainWindowTest, CommandsThatWouldDisturbADeepAddWaitForItsEnd)
{
    open();
    const char *guarded[] = {"mensa", "mendr", "mendc", "mentm", "mento"};
    {
        core::DestinationActivity::Scope running(window->destinationActivity());
        for (const char *name : guarded)
            EXPECT_FALSE(window->action(name)->isEnabled()) << name;
        for (const char *tag : {"tlb_add", "tlb_remove", "tlb_clear", "tlb_make", "tlb_options"})
            EXPECT_FALSE(child<QToolBar>("tlb")->findChild<QAction *>(tag)->isEnabled()) << tag;
        EXPECT_TRUE(window->action("menss")->isEnabled());
    }
    for (const char *name : guarded)
        EXPECT_TRUE(window->action(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, EmptyListingsSayTheirMessages)
{
    open();
    window->action("menso")->trigger();
    window->action("mensa")->trigger();
    window->action("mendo")->trigger();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, "No item to open!");
    EXPECT_EQ(messages[1].text, "No item to add!");
    EXPECT_EQ(messages[2].text, "No item to open!");
    EXPECT_EQ(messages[0].icon, core::MessageIcon::Information);
}

// Make in the window and mrb-list -o over the same settings file and the same
// paths write the same bytes: both build the one workspace, and only the way
// the paths are picked and the file named differs (a click, Ctrl+T and F5 with
// the file name typed into the save dialog; arguments).
TEST_F(MainWindowTest, MakeWritesTheBytesMrbListWrites)
{
    struct Case {
        const char *name;
        const char *output;
        const char *settings;
        int rows; // the music folder, what it holds as the settings say, top.txt
    };
    const Case cases[] = {
        {"text table with every field and a header",
            "table.txt",
            "[Common]\r\nPath=True\r\nSize=True\r\nUnit=KB\r\nPrecision=2\r\nType=True\r\nModified=True\r\n"
            "Created=True\r\nAccessed=True\r\nSub=True\r\nItem=FF\r\n[Output]\r\nFileType=Customize\r\n"
            "Standard=False\r\nSeparator=Tab\r\nHeader=True\r\nDelete=False\r\n[System]\r\nDialog=True\r\n",
            6},
        {"playlist of the files below a folder",
            "list.pls",
            "[Common]\r\nPath=True\r\nSub=True\r\nItem=Files\r\n[Output]\r\nFileType=Playlist\r\n"
            "[System]\r\nDialog=True\r\n",
            5},
    };
    tree.file("pick/music/b.mp3", 3000, 1700000000);
    tree.file("pick/music/a.mp3", 1536, 1700000000);
    tree.file("pick/music/live/c & d.ogg", 2048, 1700000000);
    tree.file("pick/top.txt", 5, 1700000000);
    tree.file("pick/left out.txt", 7, 1700000000);
    // the first read of a folder moves its access time: read them all now
    for (const auto &entry : std::filesystem::recursive_directory_iterator(tree.path("pick")))
        (void)entry;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        tree.fileWith("program/options.dll", c.settings);

        open();
        showActive();
        browseTo(tree.path("pick"));
        platform::ListModel &source = window->sourceListing();
        for (std::size_t r = 1; r <= source.rowCount(); ++r)
            source.setSelected(r, source.text(r) == "music" || source.text(r) == "top.txt");
        QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
        const std::string windowOutput = tree.path(std::string("window-") + c.output);
        api->saveAnswer = windowOutput;
        QTest::keyClick(window.get(), Qt::Key_F5);
        ASSERT_FALSE(messages.empty());
        const std::string rows = std::to_string(c.rows);
        EXPECT_EQ(messages.back().text, "Outputted " + rows + " items to '" + windowOutput + "' successfully!");
        EXPECT_EQ(prompt(), " Ready.");
        window.reset();
        messages.clear();

        const std::string cliOutput = tree.path(std::string("cli-") + c.output);
        const test::MrbListRun run = test::runMrbListIn(tree.root(),
            {"--settings", "program/options.dll", "-o", cliOutput, tree.path("pick/music"), tree.path("pick/top.txt")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "Outputted " + rows + " items to '" + cliOutput + "' successfully!\n");

        const std::string written = TempTree::read(windowOutput);
        EXPECT_NE(written.find("c & d.ogg"), std::string::npos) << written;
        EXPECT_EQ(written, TempTree::read(cliOutput));
    }
}

TEST_F(MainWindowTest, PathsThatLookLikeMarkupAreShownAsTyped)
{
    tree.fileWith("program/options.dll",
        "[Common]\r\nPath=False\r\nSize=False\r\nType=False\r\nModified=False\r\nCreated=False\r\n"
        "Accessed=False\r\n[Output]\r\nFileType=Customize\r\nStandard=False\r\n[System]\r\nDialog=True\r\n");
    tree.file("m/one.txt", 1);
    realMessageBoxes = true;
    open();
    showActive();

    // the prompt panel shows a path with tags as it is, not as bold text
    const std::string prompt = " Displaying " + tree.path("<b>m") + "/&lt;i&gt;.txt...";
    window->statusBarModel().setPrompt(prompt);
    QLabel *panel = child<QLabel>("stbPanel3");
    EXPECT_EQ(panel->text().toStdString(), prompt);
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(child<QLabel>(("stbPanel" + std::to_string(p)).c_str())->textFormat(), Qt::PlainText) << p;

    browseTo(tree.path("m"));
    window->action("menss")->trigger();
    window->action("mensa")->trigger();
    ASSERT_EQ(window->destinationListing().rowCount(), 1u);
    const std::string output = tree.path("<i>list.txt");
    api->saveAnswer = output;

    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    auto *timer = new QTimer(window.get());
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            format = box->textFormat();
            icon = box->icon();
            box->accept();
        }
    });
    timer->start(20);
    QTest::keyClick(window.get(), Qt::Key_F5);
    timer->stop();
    EXPECT_EQ(title, "Marrowby");
    EXPECT_EQ(text.toStdString(), "Outputted 1 items to '" + output + "' successfully!");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Information);
}

TEST_F(MainWindowTest, LargeListingIsShownThroughTheModel)
{
    open();
    window->show();
    constexpr std::size_t rows = 100000;
    std::vector<platform::ListRow> batch(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        batch[i].text = "file" + std::to_string(i);
        batch[i].tag = "/big/file" + std::to_string(i);
        batch[i].smallIcon = 4;
    }
    window->sourceListing().append(std::move(batch));
    QTreeView *view = child<QTreeView>("lsvSource");
    EXPECT_EQ(view->model()->rowCount(), static_cast<int>(rows));
    // rows are painted from the model: no widget per row
    EXPECT_LT(view->viewport()->findChildren<QWidget *>().size(), 5);
    view->scrollToBottom();
    QCoreApplication::processEvents();
    const QModelIndex last = view->model()->index(static_cast<int>(rows) - 1, 0);
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(last).center()));
    EXPECT_EQ(view->model()->data(last).toString(), "file99999");
    window->action("menss")->trigger();
    EXPECT_EQ(window->sourceListing().selectedCount(), rows);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(static_cast<int>(rows) - 1, {}));
    window->action("mensn")->trigger();
    EXPECT_EQ(window->sourceListing().selectedCount(), 0u);
}

// Esc while a deep add runs stops it at its next folder: the rows added by
// then stay, in the order a whole add gives, each once; the counters and the
// prompt are those of a finished add. The key arrives the way the user's
// would, while the add serves the window's events.
TEST_F(MainWindowTest, EscStopsADeepAddAndKeepsTheRowsSoFar)
{
    for (int f = 0; f < 40; ++f)
        for (int k = 0; k < 3; ++k)
            tree.file("pick/big/folder " + std::to_string(100 + f) + "/file " + std::to_string(k) + ".txt", 10);
    tree.fileWith("program/options.dll",
        "[Common]\r\nPath=True\r\nSub=True\r\nItem=FF\r\n[Output]\r\nFileType=Customize\r\n[System]\r\nDialog="
        "True\r\n");
    open();
    showActive();
    browseTo(tree.path("pick"));
    platform::ListModel &source = window->sourceListing();
    platform::ListModel &destination = window->destinationListing();
    const auto tags = [&destination] {
        std::vector<std::string> all;
        for (std::size_t r = 1; r <= destination.rowCount(); ++r)
            all.emplace_back(destination.tag(r));
        return all;
    };

    // the whole add, for the order
    source.setSelected(1, true);
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    const std::vector<std::string> whole = tags();
    ASSERT_EQ(whole.size(), 1u + 40 * 4);
    window->action("mendc")->trigger();
    ASSERT_TRUE(destination.empty());

    // every folder moves its rows at once, so some are in before the key lands
    window->workspace().adder().setMoveInterval(std::chrono::milliseconds(0));
    int served = 0;
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (++served == 5)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    keys.start(0);
    source.setSelected(1, true);
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    keys.stop();

    EXPECT_FALSE(window->destinationActivity().isBusy());
    const std::vector<std::string> kept = tags();
    ASSERT_GT(kept.size(), 1u);
    ASSERT_LT(kept.size(), whole.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), whole.begin())) << "not the first rows of a whole add";
    const auto folders =
        std::count_if(kept.begin(), kept.end(), [](const std::string &t) { return t.starts_with("<D>"); });
    EXPECT_EQ(panelText(1), QString(" Folders: %1 ").arg(folders));
    EXPECT_EQ(panelText(2), QString(" Files: %1 ").arg(kept.size() - folders));
    EXPECT_EQ(prompt(), " Ready.");

    // once the add is over, Esc is the controls' own again
    const std::size_t rows = destination.rowCount();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(destination.rowCount(), rows);
}

// At the default size the columns cut their texts: "4,335,5…" in Size,
// "plain tex…" in Type, the dates even when maximised. Each column of both
// listings shows the typical texts of its kind whole, in the desktop's font
// and in wider ones.
TEST_F(MainWindowTest, NoColumnCutsItsTypicalTexts)
{
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPointSize(12);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSize(10);
    for (const QFont &font : {QApplication::font(), wide, mono}) {
        SCOPED_TRACE(font.toString().toStdString());
        const FontForTest desktop(font);
        open();
        window->show();
        QCoreApplication::processEvents();
        const core::SettingsRecord &settings = window->settings();
        const platform::LocaleFormat &locale = platform::LocaleFormat::user();
        // the biggest size the unit shows with seven digits, dates across a year
        const std::uint64_t sizes[] = {10239999989, 1536, 0};
        const std::int64_t times[] = {1767225600 + 100000, 1796688000 + 86399, 1782864000 + 43199};
        const char *names[] = {"Holiday Pictures 2025.jpg", "song.mp3", "libQFC_MRB.so"};
        const char *folders[] = {"/usr/lib/x86_64-linux-gnu", "/home/user/Music", "/home/user/Pictures/2025"};
        const char *types[] = {"application/x-sharedlib", "plain text document", "MP3 audio"};
        for (platform::ListModel *listing : {&window->sourceListing(), &window->destinationListing()}) {
            for (int i = 0; i < 3; ++i) {
                platform::FsItem item;
                item.name = names[i];
                item.parentPath = folders[i];
                item.path = std::string(folders[i]) + "/" + names[i];
                item.type = types[i];
                item.size = sizes[i];
                item.created = item.modified = item.accessed = times[i];
                listing->append(core::toListRow(core::MakeFileRow(item, settings, locale)));
            }
        }
        ASSERT_EQ(window->destinationListing().subItem(1, 2), "9,999,999.99 KB");
        for (const char *name : {"lsvSource", "lsvTarget"}) {
            QTreeView *view = child<QTreeView>(name);
            QHeaderView *header = view->header();
            const QFontMetrics metrics(view->font());
            // the delegate's margins around a cell's text, and the row's picture
            const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
            const int picture = view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view) + margins;
            for (int column = 0; column < header->count(); ++column) {
                if (header->isSectionHidden(column))
                    continue;
                SCOPED_TRACE(std::string(name) + " column " + std::to_string(column));
                const int width = header->sectionSize(column);
                for (int row = 0; row < view->model()->rowCount(); ++row) {
                    const QModelIndex index = view->model()->index(row, column);
                    const QString text = index.data().toString();
                    EXPECT_LE(metrics.horizontalAdvance(text) + margins + (column == 0 ? picture : 0), width)
                        << text.toStdString();
                    EXPECT_LE(view->sizeHintForIndex(index).width(), width) << text.toStdString();
                }
                // the header with its sort mark
                platform::ListModel &listing =
                    view == child<QTreeView>("lsvSource") ? window->sourceListing() : window->destinationListing();
                core::SortByColumn(listing, *core::columnAt(static_cast<std::size_t>(column)));
                EXPECT_LE(header->sectionSizeHint(column), width);
            }
        }
        // three patterns in the filter box; a sixteen-letter folder name in the tree
        QLineEdit *filter = child<QLineEdit>("txtFilter");
        filter->setText(QStringLiteral("*.mp3;*.ogg;*.txt"));
        EXPECT_LT(filter->fontMetrics().horizontalAdvance(filter->text()), filter->contentsRect().width());
        QTreeView *trv = child<QTreeView>("trv");
        EXPECT_LT(trv->indentation() * 2 + trv->fontMetrics().horizontalAdvance(QStringLiteral("Holiday Pictures")),
            trv->viewport()->width());
        window.reset();
    }
}

// A header click on Size put "999.99 KB" above "8.00 MB", and the dates
// sorted by their text. Size sorts by the byte count, a folder without its
// total after every sized row.
TEST_F(MainWindowTest, SizeHeaderSortsByTheByteCount)
{
    tree.file("v/ten.txt", 10240);
    tree.file("v/nine.txt", 9216);
    tree.file("v/hundred.txt", 102400);
    tree.dir("v/sub");
    open();
    showActive();
    browseTo(tree.path("v"));
    clickHeader("lsvSource", 2);
    EXPECT_EQ(sourceNames(), (Names {"hundred.txt", "ten.txt", "nine.txt", "sub"}));
    clickHeader("lsvSource", 2);
    EXPECT_EQ(sourceNames(), (Names {"nine.txt", "ten.txt", "hundred.txt", "sub"}));
    EXPECT_EQ(window->sourceListing().column(3).headerIcon, 1);
}

// The tree showed one unlabelled node "(/)": no home, no volumes by name.
// A folder made while the program ran went to the end of its parent.
TEST_F(MainWindowTest, TreeStartsAtHomeAndKeepsNewFoldersInOrder)
{
    const std::string home = tree.dir("me");
    tree.dir("me/Music");
    tree.dir("me/Videos");
    const test::ScopedEnv homeVariable("HOME", home);
    open();
    showActive();
    const std::vector<std::string> top = window->folderTree().topLevelKeys();
    ASSERT_GE(top.size(), 2u);
    EXPECT_EQ(top.front(), home);
    EXPECT_EQ(top.back(), "/");
    const QModelIndex homeIndex = treeIndexOf(home);
    EXPECT_EQ(homeIndex.data().toString(), "me");
    EXPECT_FALSE(homeIndex.data(Qt::DecorationRole).isNull());

    clickNode(home);
    tree.dir("me/Pictures");
    clickNode(tree.path("me/Music"));
    clickNode(home);
    EXPECT_EQ(childTexts(home), (Names {"Music", "Pictures", "Videos"}));
    QAbstractItemModel *model = child<QTreeView>("trv")->model();
    Names shown;
    for (int row = 0; row < model->rowCount(homeIndex); ++row)
        shown.push_back(model->index(row, 0, homeIndex).data().toString().toStdString());
    EXPECT_EQ(shown, (Names {"Music", "Pictures", "Videos"}));
}

// Nothing could be dragged onto the destination or out of it.
TEST_F(MainWindowTest, DropsOnTheDestinationAddWhatTheyCarry)
{
    tree.file("d/song.mp3", 2048);
    tree.file("d/album/track.ogg", 1024);
    tree.file("d/notes.txt", 10);
    open();
    showActive();
    browseTo(tree.path("d"));
    QTreeView *source = child<QTreeView>("lsvSource");
    QTreeView *target = child<QTreeView>("lsvTarget");
    const auto drop = [](QWidget *on, QMimeData *mime) {
        const QPoint at(on->width() / 2, on->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &enter);
        QDropEvent dropped(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &dropped);
        QCoreApplication::processEvents();
        delete mime;
        return enter.isAccepted() && dropped.isAccepted();
    };

    // source rows go over as Add To Destination takes them
    source->selectionModel()->select(
        source->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_TRUE(drop(target->viewport(), source->model()->mimeData({source->model()->index(0, 0)})));
    EXPECT_EQ(commandsRun(), (std::vector<QString> {"mensa"}));
    EXPECT_EQ(window->destinationListing().text(1), "album");

    // another program's files: a file, a folder, a missing path, a web address
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/uri-list"),
        QByteArray::fromStdString(platform::fileUri(tree.path("d/song.mp3")) + "\r\n"
            + platform::fileUri(tree.path("d")) + "\r\n" + platform::fileUri(tree.path("d/gone")) + "\r\n"
            + "https://example.org/song.mp3\r\n"));
    EXPECT_TRUE(drop(target->viewport(), mime));
    EXPECT_EQ(test::columnTexts(window->destinationListing()), (Names {"album", "song.mp3", "d"}));
    EXPECT_EQ(prompt(), " Ready. 2 dropped item(s) skipped: no such file or folder on this machine.");

    // neither the source listing nor the tree takes a drop
    for (QWidget *other : {source->viewport(), child<QTreeView>("trv")->viewport()}) {
        auto *file = new QMimeData;
        file->setData(QStringLiteral("text/uri-list"),
            QByteArray::fromStdString(platform::fileUri(tree.path("d/notes.txt")) + "\r\n"));
        EXPECT_FALSE(drop(other, file));
    }
    EXPECT_EQ(window->destinationListing().rowCount(), 3u);
}

TEST_F(MainWindowTest, DestinationRowsDragOutAsAddressesAndPaths)
{
    open();
    platform::ListModel &destination = window->destinationListing();
    destination.append(test::fileRow("/m", "Live, 1999.mp3"));
    destination.append(test::folderRow("/m", "caf\xC3\xA9"));
    QAbstractItemModel *model = child<QTreeView>("lsvTarget")->model();
    EXPECT_EQ(model->supportedDragActions(), Qt::CopyAction);
    const std::unique_ptr<QMimeData> mime(
        model->mimeData({model->index(1, 3), model->index(0, 0), model->index(1, 0)}));
    EXPECT_EQ(mime->data(QStringLiteral("text/uri-list")).toStdString(),
        "file:///m/Live%2C%201999.mp3\r\nfile:///m/caf%C3%A9\r\n");
    EXPECT_EQ(mime->text(), QStringLiteral("/m/Live, 1999.mp3\n/m/caf\u00E9"));
}

// A second start ended silently and left the running window where it was.
TEST_F(MainWindowTest, SecondStartBringsTheWindowToTheFront)
{
    open();
    window->showMinimized();
    const std::string path = tree.path("instance.socket");
    EXPECT_FALSE(ui::RaiseChannel::askToRaise(path, 100));
    ui::RaiseChannel channel(path, [this] { window->bringToFront(); });
    ASSERT_TRUE(channel.isListening());
    EXPECT_TRUE(ui::RaiseChannel::askToRaise(path));
    for (int wait = 0; wait < 100 && (window->windowState() & Qt::WindowMinimized); ++wait)
        QTest::qWait(20);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window->isVisible());
}
