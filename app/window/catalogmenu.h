// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogactions.h"
#include "app/library/libraryapifuns.h"
#include "app/window/mainlayout.h"

#include <QObject>

class QWidget;

namespace mrb::ui
{

class CatalogSearchDialog;
class SnapshotCompareDialog;

// The Catalog menu's three commands: the destination listing kept as a
// snapshot (after a dialog asks for its label), and the search and compare
// dialogs, each made on first use and kept beside the main window.
class CatalogMenu : public QObject
{
    Q_OBJECT
public:
    CatalogMenu(core::Workspace &workspace, const PixelGrid &grid, QWidget *window);
    ~CatalogMenu() override;

    core::CatalogActions &actions() { return m_actions; }

    // Asks for the label (Cancel adds nothing) and adds the destination.
    void addDestination();
    void search();
    void compare();

    CatalogSearchDialog *searchDialog() const { return m_search; }
    SnapshotCompareDialog *compareDialog() const { return m_compare; }

private:
    core::CatalogActions m_actions;
    PixelGrid m_grid;
    QWidget *m_window;
    CatalogSearchDialog *m_search = nullptr;
    SnapshotCompareDialog *m_compare = nullptr;
};

} // namespace mrb::ui
