// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/catalogmenu.h"

#include "app/catalog/cataloglocation.h"
#include "app/window/catalogsearchdialog.h"
#include "app/window/snapshotcomparedialog.h"

#include <QInputDialog>
#include <QWidget>

namespace mrb::ui
{

CatalogMenu::CatalogMenu(core::Workspace &workspace, const PixelGrid &grid, QWidget *window)
    : QObject(window)
    , m_actions(workspace, core::defaultCatalogPath())
    , m_grid(grid)
    , m_window(window)
{
}

CatalogMenu::~CatalogMenu() = default;

void CatalogMenu::addDestination()
{
    core::Workspace &workspace = m_actions.workspace();
    if (workspace.destination().empty() || workspace.activity().isBusy()) {
        m_actions.addDestination({}); // says why there is nothing to add
        return;
    }
    QInputDialog ask(m_window);
    ask.setObjectName(QStringLiteral("dlgSnapshotLabel"));
    ask.setWindowTitle(QStringLiteral("Add Destination to Catalog"));
    ask.setLabelText(QStringLiteral("A label for the snapshot (for instance the disk's name; may stay empty):"));
    ask.setInputMode(QInputDialog::TextInput);
    if (ask.exec() != QDialog::Accepted)
        return;
    m_actions.addDestination(ask.textValue().toStdString());
    if (m_compare)
        m_compare->reload();
}

void CatalogMenu::search()
{
    if (!m_search)
        m_search = new CatalogSearchDialog(m_actions, m_grid, m_window);
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

void CatalogMenu::compare()
{
    if (!m_compare)
        m_compare = new SnapshotCompareDialog(m_actions, m_window);
    m_compare->reload();
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}

} // namespace mrb::ui
