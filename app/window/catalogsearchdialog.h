// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogactions.h"
#include "app/window/mainlayout.h"
#include "platform/controls/listmodel.h"

#include <QDialog>
#include <QTimer>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace mrb::ui
{

// "Search Catalog...": a search box that answers as one types (a name
// pattern such as *.mp3, or a piece of a path), the matching entries of
// every snapshot as rows like the listings' own with where each was found,
// and buttons that add the selected rows to the destination listing, open
// those whose item is here, or copy their paths.
class CatalogSearchDialog : public QDialog
{
    Q_OBJECT
public:
    // At most this many rows are shown; the count says when there are more.
    static constexpr std::size_t shownLimit = 1000;

    CatalogSearchDialog(core::CatalogActions &actions, const PixelGrid &grid, QWidget *parent);

    // The rows found; their selection follows the list's before each button's work.
    platform::ListModel &results() { return m_results; }
    // Runs the search for the box's text now (typing runs it after a pause).
    void searchNow();

private:
    void showResults();
    void takeSelection();
    void addToDestination();
    void copyPaths();

    core::CatalogActions &m_actions;
    platform::ListModel m_results;
    std::vector<std::string> m_places;
    QLineEdit *txtSearch = nullptr;
    QLabel *lblFound = nullptr;
    QTreeWidget *lsvFound = nullptr;
    QTimer m_typing;
};

} // namespace mrb::ui
