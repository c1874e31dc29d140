// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/catalogsearchdialog.h"

#include "app/browse/listingcolumns.h"
#include "app/userinterface/busypointer.h"
#include "app/window/listingadapter.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace mrb::ui
{

CatalogSearchDialog::CatalogSearchDialog(core::CatalogActions &actions, const PixelGrid &grid, QWidget *parent)
    : QDialog(parent)
    , m_actions(actions)
{
    setObjectName(QStringLiteral("dlgSearchCatalog"));
    setWindowTitle(QStringLiteral("Search Catalog"));
    std::vector<platform::ListColumn> columns = core::listingColumns(core::Listing::Source);
    columns.front().header = "Name";
    m_results.setColumns(std::move(columns));

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("A name pattern such as *.mp3, or a piece of a path"));
    txtSearch->setClearButtonEnabled(true);
    lblFound = new QLabel(this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setTextFormat(Qt::PlainText);
    lsvFound = new QTreeView(this);
    lsvFound->setObjectName(QStringLiteral("lsvFound"));
    m_adapter = new ListingAdapter(m_results, this);
    m_adapter->attachView(lsvFound, grid);

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
    connect(open, &QPushButton::clicked, this, [this] { m_actions.openPresent(m_results); });
    connect(copy, &QPushButton::clicked, this, &CatalogSearchDialog::copyPaths);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(lsvFound, &QTreeView::doubleClicked, this, &CatalogSearchDialog::addToDestination);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtSearch);
    layout->addWidget(lblFound);
    layout->addWidget(lsvFound, 1);
    layout->addWidget(buttons);
    resize(grid.toPixels(11000), grid.toPixels(6000));

    // a pause in the typing runs the search, so each key does not
    m_typing.setSingleShot(true);
    m_typing.setInterval(150);
    connect(&m_typing, &QTimer::timeout, this, &CatalogSearchDialog::searchNow);
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
}

CatalogSearchDialog::~CatalogSearchDialog()
{
    // the adapter watches the results, which go before the child widgets
    delete m_adapter;
}

void CatalogSearchDialog::searchNow()
{
    m_typing.stop();
    const std::string pattern = txtSearch->text().toStdString();
    if (pattern.empty()) {
        m_results.clear();
        lblFound->clear();
        return;
    }
    core::CatalogStatus status;
    {
        const core::BusyPointer busy(m_actions.workspace().services().ui);
        status = m_actions.search(pattern, shownLimit + 1, m_results);
    }
    if (!status.ok()) {
        lblFound->setText(QString::fromStdString(status.message()));
        return;
    }
    const std::size_t found = m_results.rowCount();
    if (found > shownLimit) {
        m_results.remove(found); // the one past the limit only says there are more
        lblFound->setText(QStringLiteral("The first %1 items found; type more to narrow them.").arg(shownLimit));
    } else {
        lblFound->setText(found == 1 ? QStringLiteral("1 item found.") : QStringLiteral("%1 items found.").arg(found));
    }
}

void CatalogSearchDialog::addToDestination()
{
    const std::size_t added = m_actions.addToDestination(m_results);
    lblFound->setText(QStringLiteral("%1 item(s) added to the destination listing.").arg(added));
}

void CatalogSearchDialog::copyPaths()
{
    const std::string paths = m_actions.selectedPaths(m_results);
    if (!paths.empty())
        QGuiApplication::clipboard()->setText(QString::fromUtf8(paths.data(), static_cast<qsizetype>(paths.size())));
}

} // namespace mrb::ui
