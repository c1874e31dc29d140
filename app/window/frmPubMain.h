// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/settings/settings.h"
#include "app/userinterface/userinterface.h"
#include "app/window/commandtable.h"
#include "app/window/mainlayout.h"
#include "app/window/startup.h"
#include "app/workspace/workspace.h"

#include <QHash>
#include <QMainWindow>

#include <memory>
#include <string_view>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QShortcut;
class QToolBar;
class QTreeView;

namespace mrb::ui
{

class CatalogMenu;
class ListingAdapter;
class PromptTracker;
class SplitterBar;
class TreeAdapter;
class FilterGroup;
class frmPubAbout;
class frmPubOptions;

// The main window: its creation is the program's start-up and its closing the
// end. It shows the folder tree, the two listings and the status bar as views
// of plain models, and routes every menu item, toolbar button, shortcut and
// listing event to the core command that carries it out.
class frmPubMain : public QMainWindow, public core::UserInterface
{
    Q_OBJECT
public:
    explicit frmPubMain(StartupObjects objects, QWidget *parent = nullptr);
    ~frmPubMain() override;

    // What the window shows and works on.
    core::Workspace &workspace() { return m_workspace; }
    platform::ListModel &sourceListing() { return m_workspace.source(); }
    platform::ListModel &destinationListing() { return m_workspace.destination(); }
    platform::TreeModel &folderTree() { return m_workspace.tree(); }
    platform::StatusBarModel &statusBarModel() { return m_workspace.status(); }
    // Busy while a deep add serves the window's events.
    core::DestinationActivity &destinationActivity() { return m_workspace.activity(); }
    const core::SettingsRecord &settings() const { return m_workspace.settings(); }
    const PaneLayout &paneLayout() const { return m_layout; }
    PixelGrid pixelGrid() const { return m_grid; }
    QAction *action(std::string_view name) const;
    // Brings the window to the front, restored when minimised (a second start).
    void bringToFront();

    // core::UserInterface
    void showMessage(const std::string &text, core::MessageIcon icon) override;
    void setBusy(bool busy) override;
    void processEvents() override;
    core::WinHandle ownerWindow() const override;
    void showOptionsDialog() override;

Q_SIGNALS:
    // Every routed command, by its menu item's name, before it runs.
    void commandRun(const QString &menuItem);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildPanes();
    void buildStatusBar();
    void trackPrompts();
    void load();

    void runCommand(Command command, std::string_view menuItem);
    void onToolbarAction(QAction *button);
    void onTreeClicked(const QModelIndex &index);
    void onTreeKeyboardMoved();
    void onFilterChanged();
    void onSplitterMoved(SplitterDrag::Bar bar, QPoint position);
    void openWebLink(std::string_view address);
    void showAbout();
    CatalogMenu &catalogMenu();
    void onActivityChanged(bool busy);

    void fitColumns();
    QSize defaultSize() const;
    void layoutPanes();
    void placePanes();
    double clientHeightTwips() const;
    bool handleListingEvent(QTreeView *view, QObject *watched, QEvent *event);
    bool handleShortcutOverride(QObject *watched, QKeyEvent *event);
    bool handleDrop(QEvent *event);

    StartupObjects m_objects;
    core::Workspace m_workspace;
    bool m_closeWhenIdle = false;
    QShortcut *m_stopShortcut = nullptr; // Esc, while a deep add runs

    PaneLayout m_layout;
    SplitterDrag m_drag;
    PixelGrid m_grid;
    double m_treeWidth = 0; // what the tree's texts need, in twips

    // the shortcut keys of the Source and Destination menus
    QList<QKeySequence> m_listingShortcuts;

    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QToolBar *tlb = nullptr;
    QTreeView *trv = nullptr;
    QTreeView *lsvSource = nullptr;
    QTreeView *lsvTarget = nullptr;
    FilterGroup *Frame1 = nullptr; // the filter box and the Hidden and System boxes
    SplitterBar *lblVSplitter = nullptr;
    SplitterBar *lblHSplitter = nullptr;
    QLabel *m_panels[platform::StatusBarModel::panelCount] = {};

    TreeAdapter *m_treeAdapter = nullptr;
    ListingAdapter *m_sourceAdapter = nullptr;
    ListingAdapter *m_destinationAdapter = nullptr;
    PromptTracker *m_prompts = nullptr;
    frmPubAbout *m_about = nullptr;
    frmPubOptions *m_options = nullptr;
    CatalogMenu *m_catalog = nullptr; // made on first use
};

} // namespace mrb::ui
