// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/catalogsearchdialog.h"

#include "app/browse/listingcolumns.h"
#include "app/userinterface/busypointer.h"
#include "app/window/utf8qstring.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mrb::ui
{

CatalogSearchDialog::CatalogSearchDialog(core::CatalogActions &actions, const PixelGrid &grid, QWidget *parent)
    : QDialog(parent)
    , m_actions(actions)
{
    setObjectName(QStringLiteral("dlgSearchCatalog"));
    setWindowTitle(QStringLiteral("Search Catalog"));

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("A name pattern such as *.mp3, or a piece of a path"));
    txtSearch->setClearButtonEnabled(true);
    lblFound = new QLabel(this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setTextFormat(Qt::PlainText);
    lsvFound = new QTreeWidget(this);
    lsvFound->setObjectName(QStringLiteral("lsvFound"));
    lsvFound->setRootIsDecorated(false);
    lsvFound->setUniformRowHeights(true);
    lsvFound->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // where it was found, then the listings' own columns
    QStringList headers {QStringLiteral("Found In")};
    for (const platform::ListColumn &column : core::listingColumns(core::Listing::Destination))
        headers.push_back(qs(column.header));
    headers[1] = QStringLiteral("Name");
    lsvFound->setHeaderLabels(headers);
    lsvFound->header()->setSectionResizeMode(QHeaderView::Interactive);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *add = buttons->addButton(QStringLiteral("&Add to Destination"), QDialogButtonBox::ActionRole);
    add->setObjectName(QStringLiteral("sbtAdd"));
    QPushButton *open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("sbtOpen"));
    QPushButton *copy = buttons->addButton(QStringLiteral("Copy &Paths"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("sbtCopy"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("sbtClose"));
    connect(add, &QPushButton::clicked, this, &CatalogSearchDialog::addToDestination);
    connect(open, &QPushButton::clicked, this, [this] {
        takeSelection();
        m_actions.openPresent(m_results);
    });
    connect(copy, &QPushButton::clicked, this, &CatalogSearchDialog::copyPaths);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(lsvFound, &QTreeWidget::itemDoubleClicked, this, &CatalogSearchDialog::addToDestination);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtSearch);
    layout->addWidget(lblFound);
    layout->addWidget(lsvFound, 1);
    layout->addWidget(buttons);
    resize(grid.toPixels(12000), grid.toPixels(6000));

    // a pause in the typing runs the search, so each key does not
    m_typing.setSingleShot(true);
    m_typing.setInterval(150);
    connect(&m_typing, &QTimer::timeout, this, &CatalogSearchDialog::searchNow);
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
}

void CatalogSearchDialog::searchNow()
{
    m_typing.stop();
    const std::string pattern = txtSearch->text().toStdString();
    lsvFound->clear();
    if (pattern.empty()) {
        m_results.clear();
        m_places.clear();
        lblFound->clear();
        return;
    }
    core::CatalogStatus status;
    {
        const core::BusyPointer busy(m_actions.workspace().services().ui);
        status = m_actions.search(pattern, shownLimit + 1, m_results, m_places);
    }
    if (!status.ok()) {
        lblFound->setText(qs(status.message()));
        return;
    }
    const std::size_t found = m_results.rowCount();
    if (found > shownLimit) {
        m_results.remove(found); // the one past the limit only says there are more
        m_places.pop_back();
        lblFound->setText(QStringLiteral("The first %1 items found; type more to narrow them.").arg(shownLimit));
    } else {
        lblFound->setText(found == 1 ? QStringLiteral("1 item found.") : QStringLiteral("%1 items found.").arg(found));
    }
    showResults();
}

void CatalogSearchDialog::showResults()
{
    QList<QTreeWidgetItem *> items;
    for (std::size_t r = 1; r <= m_results.rowCount(); ++r) {
        const platform::ListRow row = m_results.row(r);
        auto *item = new QTreeWidgetItem;
        item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<qulonglong>(r)));
        item->setText(0, qs(m_places[r - 1]));
        item->setText(1, qs(row.text));
        for (std::size_t sub = 0; sub < row.subItems.size(); ++sub)
            item->setText(static_cast<int>(sub) + 2, qs(row.subItems[sub]));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    lsvFound->addTopLevelItems(items);
    for (int c = 0; c < lsvFound->columnCount(); ++c)
        lsvFound->resizeColumnToContents(c);
}

void CatalogSearchDialog::takeSelection()
{
    for (int i = 0; i < lsvFound->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lsvFound->topLevelItem(i);
        m_results.setSelected(item->data(0, Qt::UserRole).toULongLong(), item->isSelected());
    }
}

void CatalogSearchDialog::addToDestination()
{
    takeSelection();
    const std::size_t added = m_actions.addToDestination(m_results);
    lblFound->setText(QStringLiteral("%1 item(s) added to the destination listing.").arg(added));
}

void CatalogSearchDialog::copyPaths()
{
    takeSelection();
    const std::string paths = m_actions.selectedPaths(m_results);
    if (!paths.empty())
        QGuiApplication::clipboard()->setText(qs(paths));
}

} // namespace mrb::ui
