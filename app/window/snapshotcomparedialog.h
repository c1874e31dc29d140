// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogactions.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace mrb::ui
{

// "Compare Snapshots...": two snapshots picked from the catalog, and what
// changed from the first to the second as a listing with a Change column.
class SnapshotCompareDialog : public QDialog
{
    Q_OBJECT
public:
    SnapshotCompareDialog(core::CatalogActions &actions, QWidget *parent);

    // Lists the catalog's snapshots again (the newest two picked).
    void reload();
    // Compares the two snapshots picked.
    void compareNow();

private:
    core::CatalogActions &m_actions;
    QComboBox *cbbOld = nullptr;
    QComboBox *cbbNew = nullptr;
    QLabel *lblChanges = nullptr;
    QTreeWidget *lsvChanges = nullptr;
};

} // namespace mrb::ui
