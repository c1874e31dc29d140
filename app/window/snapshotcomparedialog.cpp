// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/snapshotcomparedialog.h"

#include "app/output/machine/isotime.h"
#include "app/window/utf8qstring.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mrb::ui
{

namespace
{

// "3  MUSIC  /media/usb  2026-03-01 10:00  before the move"
QString snapshotText(const core::SnapshotInfo &snapshot)
{
    std::string taken;
    core::appendIsoDateTime(taken, snapshot.header.takenAt);
    if (taken.size() > 16) {
        taken[10] = ' ';
        taken.resize(16);
    }
    std::string text = std::to_string(snapshot.id) + "   ";
    text += core::volumeNameOf(snapshot) + "   " + snapshot.header.root + "   " + taken;
    if (!snapshot.header.label.empty())
        text += "   " + snapshot.header.label;
    return qs(text);
}

} // namespace

SnapshotCompareDialog::SnapshotCompareDialog(core::CatalogActions &actions, QWidget *parent)
    : QDialog(parent)
    , m_actions(actions)
{
    setObjectName(QStringLiteral("dlgCompareSnapshots"));
    setWindowTitle(QStringLiteral("Compare Snapshots"));
    cbbOld = new QComboBox(this);
    cbbOld->setObjectName(QStringLiteral("cbbOld"));
    cbbNew = new QComboBox(this);
    cbbNew->setObjectName(QStringLiteral("cbbNew"));
    lblChanges = new QLabel(this);
    lblChanges->setObjectName(QStringLiteral("lblChanges"));
    lblChanges->setTextFormat(Qt::PlainText);
    lsvChanges = new QTreeWidget(this);
    lsvChanges->setObjectName(QStringLiteral("lsvChanges"));
    lsvChanges->setRootIsDecorated(false);
    lsvChanges->setUniformRowHeights(true);
    lsvChanges->setSortingEnabled(true);
    lsvChanges->setHeaderLabels({QStringLiteral("Change"),
        QStringLiteral("Name"),
        QStringLiteral("Path"),
        QStringLiteral("Size"),
        QStringLiteral("Type"),
        QStringLiteral("Modified Date"),
        QStringLiteral("Old Path")});
    lsvChanges->header()->setSectionResizeMode(QHeaderView::Interactive);

    auto *picks = new QFormLayout;
    picks->addRow(QStringLiteral("&Older snapshot:"), cbbOld);
    picks->addRow(QStringLiteral("&Newer snapshot:"), cbbNew);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *run = buttons->addButton(QStringLiteral("&Compare"), QDialogButtonBox::ActionRole);
    run->setObjectName(QStringLiteral("sbtCompare"));
    run->setDefault(true);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("sbtClose"));
    connect(run, &QPushButton::clicked, this, &SnapshotCompareDialog::compareNow);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(picks);
    layout->addWidget(lblChanges);
    layout->addWidget(lsvChanges, 1);
    layout->addWidget(buttons);
    resize(900, 480);
}

void SnapshotCompareDialog::reload()
{
    std::vector<core::SnapshotInfo> snapshots;
    const core::CatalogStatus status = m_actions.snapshots(snapshots);
    cbbOld->clear();
    cbbNew->clear();
    for (const core::SnapshotInfo &snapshot : snapshots) {
        cbbOld->addItem(snapshotText(snapshot), QVariant::fromValue(static_cast<qlonglong>(snapshot.id)));
        cbbNew->addItem(snapshotText(snapshot), QVariant::fromValue(static_cast<qlonglong>(snapshot.id)));
    }
    // the two newest: what changed lately
    cbbOld->setCurrentIndex(std::max(0, cbbOld->count() - 2));
    cbbNew->setCurrentIndex(cbbNew->count() - 1);
    if (!status.ok())
        lblChanges->setText(qs(status.message()));
    else if (snapshots.size() < 2)
        lblChanges->setText(QStringLiteral("The catalog needs two snapshots to compare."));
    else
        lblChanges->clear();
}

void SnapshotCompareDialog::compareNow()
{
    lsvChanges->clear();
    if (cbbOld->currentIndex() < 0 || cbbNew->currentIndex() < 0)
        return;
    std::vector<core::SnapshotChange> changes;
    const core::CatalogStatus status =
        m_actions.compare(cbbOld->currentData().toLongLong(), cbbNew->currentData().toLongLong(), changes);
    if (!status.ok()) {
        lblChanges->setText(qs(status.message()));
        return;
    }
    lblChanges->setText(qs(core::CatalogActions::changeCounts(changes)));
    QList<QTreeWidgetItem *> items;
    lsvChanges->setSortingEnabled(false);
    for (const core::SnapshotChange &change : changes) {
        const core::StoredEntry &entry = change.after ? *change.after : *change.before;
        const platform::ListRow row = m_actions.rowOf(entry);
        auto *item = new QTreeWidgetItem;
        item->setText(0, QString::fromLatin1(core::changeName(change.kind)));
        item->setText(1, qs(row.text));
        item->setText(2, qs(row.subItems[0]));
        item->setText(3, qs(row.subItems[1]));
        item->setText(4, qs(row.subItems[2]));
        item->setText(5, qs(row.subItems[4]));
        item->setText(6, qs(change.oldPath));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    lsvChanges->addTopLevelItems(items);
    lsvChanges->setSortingEnabled(true);
    lsvChanges->sortByColumn(-1, Qt::AscendingOrder);
    for (int c = 0; c < lsvChanges->columnCount(); ++c)
        lsvChanges->resizeColumnToContents(c);
}

} // namespace mrb::ui
