// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/catalogmenu.h"
#include "app/window/catalogsearchdialog.h"
#include "app/window/frmPubMain.h"
#include "app/window/snapshotcomparedialog.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/temptree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace mrb;
using mrb::test::TempTree;

namespace
{

// The window over a tree of real files, with the user's catalog in a folder
// of the test's own. With MRB_SCREENSHOTS naming a folder, each dialog is
// saved there as a picture (the pictures in docs/ are made so, under Xvfb).
class CatalogMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tree.file("music/a.mp3", 3000, 1772355600);
        tree.file("music/notes.txt", 10, 1772355600);
        tree.file("music/live/b.mp3", 5000, 1772355600);
        ui::StartupObjects objects;
        objects.libraryLoaded = true; // its local stand-ins will do: nothing to say about it
        objects.fs = std::make_unique<platform::PosixFileSystem>();
        objects.programFolder = tree.dir("program");
        objects.messageSink = [this](const std::string &text, core::MessageIcon) { messages.push_back(text); };
        window = std::make_unique<ui::frmPubMain>(std::move(objects));
        window->workspace().settingsStore().record().setValue(core::Setting::CommonItem, "FF");
        window->resize(900, 600);
    }

    // The destination as a deep add of the music folder makes it.
    void listMusic()
    {
        window->destinationListing().clear();
        window->workspace().adder().AddFolderContents(tree.path("music"));
    }

    // Runs the menu item, answering the label dialog with label.
    void addToCatalog(const QString &label)
    {
        QTimer::singleShot(0, [this, label] {
            auto *ask = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(ask, nullptr);
            ask->setTextValue(label);
            shoot(ask, "catalog-add.png");
            ask->accept();
        });
        window->action("menca")->trigger();
    }

    static void shoot(QWidget *widget, const char *name)
    {
        if (const char *folder = std::getenv("MRB_SCREENSHOTS"))
            widget->grab().save(QString::fromUtf8(folder) + "/" + QString::fromLatin1(name));
    }

    template <typename T> T *child(QWidget *in, const char *name)
    {
        return in->findChild<T *>(QString::fromLatin1(name));
    }

    TempTree tree;
    TempTree data;
    test::ScopedEnv dataHome {"XDG_DATA_HOME", data.root()};
    std::vector<std::string> messages;
    std::unique_ptr<ui::frmPubMain> window;
};

TEST_F(CatalogMenuTest, AddSearchAndCompareFromTheMenu)
{
    window->show();
    window->action("menca")->trigger(); // nothing listed yet
    listMusic();
    addToCatalog(QStringLiteral("USB stick"));
    tree.file("music/live/c.mp3", 10, 1772355600);
    listMusic();
    addToCatalog(QStringLiteral("a week later"));
    EXPECT_EQ(messages,
        (std::vector<std::string> {"No available item for the catalog!",
            "Added the destination listing to the catalog as snapshot 1 (5 items).",
            "Added the destination listing to the catalog as snapshot 2 (6 items)."}));
    EXPECT_EQ(window->statusBarModel().prompt(), " Ready.");

    // the search answers as one types; its rows go to the destination
    window->action("mencs")->trigger();
    auto *search = window->findChild<ui::CatalogSearchDialog *>(QStringLiteral("dlgSearchCatalog"));
    ASSERT_NE(search, nullptr);
    child<QLineEdit>(search, "txtSearch")->setText(QStringLiteral("*.MP3"));
    search->searchNow();
    EXPECT_EQ(child<QLabel>(search, "lblFound")->text(), QStringLiteral("5 items found."));
    shoot(search, "catalog-search.png");
    auto *found = child<QTreeWidget>(search, "lsvFound");
    ASSERT_EQ(found->topLevelItemCount(), 5);
    EXPECT_TRUE(found->topLevelItem(4)->text(0).endsWith(QStringLiteral(", snapshot 2")));
    window->destinationListing().clear();
    found->topLevelItem(4)->setSelected(true); // snapshot 2's c.mp3
    child<QPushButton>(search, "sbtAdd")->click();
    ASSERT_EQ(window->destinationListing().rowCount(), 1u);
    EXPECT_EQ(window->destinationListing().tag(1), tree.path("music/live/c.mp3"));
    child<QPushButton>(search, "sbtCopy")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(tree.path("music/live/c.mp3") + "\n"));

    // the two newest snapshots are picked, and the change is listed
    window->action("mencc")->trigger();
    auto *compare = window->findChild<ui::SnapshotCompareDialog *>(QStringLiteral("dlgCompareSnapshots"));
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(child<QComboBox>(compare, "cbbOld")->currentData().toLongLong(), 1);
    EXPECT_EQ(child<QComboBox>(compare, "cbbNew")->currentData().toLongLong(), 2);
    child<QPushButton>(compare, "sbtCompare")->click();
    EXPECT_EQ(child<QLabel>(compare, "lblChanges")->text(), QStringLiteral("1 added."));
    auto *changes = child<QTreeWidget>(compare, "lsvChanges");
    ASSERT_EQ(changes->topLevelItemCount(), 1);
    EXPECT_EQ(changes->topLevelItem(0)->text(0), QStringLiteral("added"));
    EXPECT_EQ(changes->topLevelItem(0)->text(1), QStringLiteral("c.mp3"));
    shoot(compare, "catalog-compare.png");
}

TEST_F(CatalogMenuTest, CancelledLabelAddsNothing)
{
    listMusic();
    QTimer::singleShot(0, [] {
        if (QWidget *ask = QApplication::activeModalWidget())
            ask->close();
    });
    window->action("menca")->trigger();
    EXPECT_TRUE(messages.empty());
    window->action("mencc")->trigger();
    auto *compare = window->findChild<ui::SnapshotCompareDialog *>(QStringLiteral("dlgCompareSnapshots"));
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(
        child<QLabel>(compare, "lblChanges")->text().left(35), QStringLiteral("The catalog holds no snapshots yet:"));
}

} // namespace
