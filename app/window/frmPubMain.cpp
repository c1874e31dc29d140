// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/frmPubMain.h"

#include "app/browse/columnsort.h"
#include "app/options/designfont.h"
#include "app/options/frmPubOptions.h"
#include "app/output/makeoutput.h"
#include "app/userinterface/busypointer.h"
#include "app/window/catalogmenu.h"
#include "app/window/filtergroup.h"
#include "app/window/frmPubAbout.h"
#include "app/window/icons.h"
#include "app/window/listingadapter.h"
#include "app/window/listingview.h"
#include "app/window/messagebox.h"
#include "app/window/prompttracker.h"
#include "app/window/splitterbar.h"
#include "app/window/textfit.h"
#include "app/window/treeadapter.h"
#include "app/window/weblinks.h"
#include "app/window/windowlog.h"
#include "platform/fs/filesystem.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>
#include <tuple>

namespace mrb::ui
{

namespace
{

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string tipPrompt(std::string_view control)
{
    return " " + std::string(tipOf(control));
}

// What our own listings' dragged rows carry besides their addresses.
const QString sourceRowsFormat = QStringLiteral("application/x-marrowby-source-rows");
const QString destinationRowsFormat = QStringLiteral("application/x-marrowby-destination-rows");

} // namespace

frmPubMain::frmPubMain(StartupObjects objects, QWidget *parent)
    : QMainWindow(parent)
    , m_objects(std::move(objects))
    , m_workspace({.fs = *m_objects.fs, .api = *m_objects.api, .gen = *m_objects.gen, .ui = *this},
          {.programFolder = m_objects.programFolder, .file = {}})
{
    setObjectName(QStringLiteral("frmPubMain"));
    setWindowTitle(qs(programTitle));
    setWindowIcon(icons::windowIcon());
    // The window shows the desktop's own font; what holds text is sized from
    // it (textfit.h), the rest keeps the design's proportions.
    m_grid = PixelGrid::forDpi(logicalDpiX());

    m_prompts = new PromptTracker(statusBarModel(), this);
    buildStatusBar();
    buildPanes();
    buildToolbar();
    buildMenus();
    load();
    // the client area's resizes run the layout from now on
    centralWidget()->installEventFilter(this);
    resize(defaultSize());
}

frmPubMain::~frmPubMain()
{
    // the dialogs hold on to the settings store, which goes before the child widgets
    delete m_options;
    delete m_about;
    // the adapters watch the models, which go after the widgets
    delete m_sourceAdapter;
    delete m_destinationAdapter;
    delete m_treeAdapter;
}

QAction *frmPubMain::action(std::string_view name) const
{
    return m_actions.value(qs(name));
}

void frmPubMain::bringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void frmPubMain::buildStatusBar()
{
    QStatusBar *stb = statusBar();
    stb->setObjectName(QStringLiteral("stb"));
    const auto panels = statusPanels();
    for (int i = 0; i < platform::StatusBarModel::panelCount; ++i) {
        auto *label = new QLabel(stb);
        label->setObjectName(QStringLiteral("stbPanel%1").arg(i + 1));
        // prompts carry paths, which may look like markup ("<b>", "&lt;")
        label->setTextFormat(Qt::PlainText);
        label->setToolTip(qs(panels[static_cast<std::size_t>(i)].tip));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(i < 2 ? m_grid.toPixels(FontScale::of(font()).width(1800)) : 0);
        // added as normal widgets: a permanent one would hide behind temporary messages
        stb->addWidget(label, i == 2 ? 1 : 0);
        m_panels[i] = label;
    }
    platform::StatusBarModel &status = statusBarModel();
    status.addListener([this, &status](int panel) {
        if (panel >= 1 && panel <= platform::StatusBarModel::panelCount)
            m_panels[panel - 1]->setText(qs(status.text(panel)));
    });
    for (int i = 0; i < platform::StatusBarModel::panelCount; ++i)
        status.setText(i + 1, std::string(panels[static_cast<std::size_t>(i)].startText));
}

void frmPubMain::buildPanes()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    trv = new QTreeView(client);
    trv->setObjectName(QStringLiteral("trv"));
    m_treeAdapter = new TreeAdapter(folderTree());
    m_treeAdapter->attachView(trv);
    connect(trv, &QTreeView::clicked, this, &frmPubMain::onTreeClicked);
    m_treeWidth = folderTreeWidth(*trv, m_grid);

    lsvSource = new ListingView(client);
    lsvSource->setObjectName(QStringLiteral("lsvSource"));
    m_sourceAdapter = new ListingAdapter(sourceListing());
    m_sourceAdapter->attachView(lsvSource, m_grid);
    m_sourceAdapter->setDragMarker(sourceRowsFormat);
    connect(m_sourceAdapter, &ListingAdapter::headerClicked, this, [this](core::Column column) {
        core::SortByColumn(sourceListing(), column);
    });

    lsvTarget = new ListingView(client);
    lsvTarget->setObjectName(QStringLiteral("lsvTarget"));
    m_destinationAdapter = new ListingAdapter(destinationListing());
    m_destinationAdapter->attachView(lsvTarget, m_grid);
    m_destinationAdapter->setDragMarker(destinationRowsFormat);
    connect(m_destinationAdapter, &ListingAdapter::headerClicked, this, [this](core::Column column) {
        // Make and Remove go by row numbers while they let the window run
        if (destinationActivity().holdsOrder())
            return;
        core::BusyPointer busy(*this);
        core::SortByColumn(destinationListing(), column);
    });

    for (QTreeView *view : {trv, lsvSource, lsvTarget}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        // only the destination takes drops (handleDrop)
        view->setAcceptDrops(view == lsvTarget);
        view->viewport()->setAcceptDrops(view == lsvTarget);
    }

    lblVSplitter = new SplitterBar(Qt::Horizontal, client);
    lblVSplitter->setObjectName(QStringLiteral("lblVSplitter"));
    lblHSplitter = new SplitterBar(Qt::Vertical, client);
    lblHSplitter->setObjectName(QStringLiteral("lblHSplitter"));
    for (auto [bar, which] : {std::pair {lblVSplitter, SplitterDrag::Bar::Vertical},
             std::pair {lblHSplitter, SplitterDrag::Bar::Horizontal}}) {
        connect(bar, &SplitterBar::pressed, this, [this, bar, which] {
            bar->setDragLook(true);
            m_drag.press(which);
        });
        connect(bar, &SplitterBar::released, this, [this, bar, which] {
            bar->setDragLook(false);
            m_drag.release(which);
        });
        connect(bar, &SplitterBar::moved, this, [this, which](QPoint position) { onSplitterMoved(which, position); });
    }
}

void frmPubMain::buildToolbar()
{
    tlb = new QToolBar(centralWidget());
    tlb->setObjectName(QStringLiteral("tlb"));
    tlb->setMovable(false);
    tlb->setFloatable(false);
    tlb->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tlb->setIconSize(QSize(m_grid.toPixels(240), m_grid.toPixels(240)));
    for (const ToolbarButton &button : toolbarButtons()) {
        if (button.caption.empty()) {
            tlb->addSeparator();
            continue;
        }
        QAction *a = tlb->addAction(icons::toolbarImage(button.icon, button.tag), qs(button.caption));
        a->setObjectName(QStringLiteral("tlb_") + qs(button.tag));
        a->setData(qs(button.tag));
        a->setToolTip(qs(button.tip));
    }
    connect(tlb, &QToolBar::actionTriggered, this, &frmPubMain::onToolbarAction);

    // the filter group sits in the toolbar band, at its right end
    Frame1 = new FilterGroup(centralWidget());
    connect(Frame1, &FilterGroup::changed, this, &frmPubMain::onFilterChanged);
    for (QWidget *control : {static_cast<QWidget *>(Frame1->hiddenBox()),
             static_cast<QWidget *>(Frame1->systemBox()),
             static_cast<QWidget *>(Frame1->filterBox())})
        control->installEventFilter(this);
}

void frmPubMain::buildMenus()
{
    for (const Menu &menu : menuTable()) {
        QMenu *m = menuBar()->addMenu(qs(menu.caption));
        m->setObjectName(qs(menu.name));
        m_menus.insert(qs(menu.name), m);
        for (const MenuItem &item : menu.items) {
            QAction *a = item.isSeparator() ? m->addSeparator() : m->addAction(qs(item.caption));
            a->setObjectName(qs(item.name));
            m_actions.insert(qs(item.name), a);
            if (item.isSeparator())
                continue;
            if (!item.shortcut.empty()) {
                a->setShortcut(QKeySequence(qs(item.shortcut), QKeySequence::PortableText));
                if (menu.name == "mens" || menu.name == "mend")
                    m_listingShortcuts << a->shortcut();
            }
            PromptTracker::setPrompt(a, std::string(item.prompt));
            connect(a, &QAction::triggered, this, [this, &item] { runCommand(item.command, item.name); });
        }
    }
}

void frmPubMain::trackPrompts()
{
    m_prompts->track(centralWidget(), std::string(readyPrompt));
    m_prompts->track(statusBar(), std::string(readyPrompt));
    m_prompts->track(tlb, std::string(toolbarPrompt));
    // the filter group's own background and the splitter bars show nothing
    m_prompts->track(Frame1, {});
    m_prompts->track(lblVSplitter, {});
    m_prompts->track(lblHSplitter, {});
    m_prompts->track(Frame1->hiddenBox(), tipPrompt("cbxHidden"));
    m_prompts->track(Frame1->systemBox(), tipPrompt("cbxSystem"));
    m_prompts->track(Frame1->filterBox(), tipPrompt("txtFilter"));
    m_prompts->track(lsvSource, tipPrompt("lsvSource"));
    m_prompts->track(lsvTarget, tipPrompt("lsvTarget"));
    m_prompts->track(trv, tipPrompt("trv"));
    for (QMenu *menu : std::as_const(m_menus))
        m_prompts->trackMenu(menu);
}

void frmPubMain::load()
{
    m_workspace.start();
    fitColumns();
    trackPrompts();
    m_destinationAdapter->applyColumnWidths();
    m_workspace.activity().addBusyListener([this](bool busy) { onActivityChanged(busy); });
    // Esc stops a running deep add at its next folder (the menus are fixed, so
    // it has no item); the rows added by then stay. Otherwise Esc is the
    // controls' own.
    m_stopShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_stopShortcut->setContext(Qt::WindowShortcut);
    m_stopShortcut->setEnabled(false);
    connect(m_stopShortcut, &QShortcut::activated, this, [this] { m_workspace.activity().requestStop(); });

    if (const std::string &notice = m_workspace.settingsStore().notice(); !notice.empty()) {
        // said once, after the window is up
        QTimer::singleShot(0, this, [this, notice] { showMessage(notice, core::MessageIcon::Exclamation); });
    }
    if (!m_objects.libraryLoaded) {
        // said once, after the window is up
        const std::string message = libraryMissingMessage(m_objects.libraryProblem);
        QTimer::singleShot(0, this, [this, message] { showMessage(message, core::MessageIcon::Exclamation); });
    }
}

void frmPubMain::runCommand(Command command, std::string_view menuItem)
{
    Q_EMIT commandRun(qs(menuItem));
    switch (command) {
    case Command::SelectAllSource:
        if (m_workspace.sourceListing().SelectAllSource() == core::KeyboardFocus::SourceListing)
            lsvSource->setFocus();
        break;
    case Command::SelectNoneSource:
        if (m_workspace.sourceListing().SelectNoneSource() == core::KeyboardFocus::SourceListing)
            lsvSource->setFocus();
        break;
    case Command::OpenSource:
        m_workspace.sourceListing().OpenSourceItems();
        break;
    case Command::AddToDestination:
        m_workspace.adder().AddToDestination();
        break;
    case Command::Exit:
        close();
        break;
    case Command::SelectAllDestination:
        if (m_workspace.destinationCommands().SelectAllDestination() == core::KeyboardFocus::DestinationListing)
            lsvTarget->setFocus();
        break;
    case Command::SelectNoneDestination:
        if (m_workspace.destinationCommands().SelectNoneDestination() == core::KeyboardFocus::DestinationListing)
            lsvTarget->setFocus();
        break;
    case Command::RemoveDestination:
        m_workspace.destinationCommands().RemoveSelectedDestination();
        break;
    case Command::ClearDestination:
        m_workspace.destinationCommands().ClearDestination();
        break;
    case Command::OpenDestination:
        m_workspace.destinationCommands().OpenDestinationItems();
        break;
    case Command::SizeOfDestinationFolders:
        m_workspace.destinationCommands().SizeOfDestinationFolders();
        break;
    case Command::SizeOfDestinationFiles:
        m_workspace.destinationCommands().SizeOfDestinationFiles();
        break;
    case Command::MapNetworkDrive:
        m_workspace.destinationCommands().MapNetworkDrive();
        break;
    case Command::DisconnectNetworkDrive:
        m_workspace.destinationCommands().DisconnectNetworkDrive();
        break;
    case Command::Make:
        // Without the library the save dialog answers "" and Make stops
        // there, silently; its first steps still run.
        core::MakeOutputFile(m_workspace.makeContext());
        break;
    case Command::Options:
        showOptionsDialog();
        break;
    case Command::AddDestinationToCatalog:
        catalogMenu().addDestination();
        break;
    case Command::SearchCatalog:
        catalogMenu().search();
        break;
    case Command::CompareSnapshots:
        catalogMenu().compare();
        break;
    case Command::Homepage:
        openWebLink(weblinks::productHomepage);
        break;
    case Command::Freeware:
        openWebLink(weblinks::freewareList);
        break;
    case Command::Facebook:
        openWebLink(weblinks::facebookPage);
        break;
    case Command::Donate:
        openWebLink(weblinks::donationPage);
        break;
    case Command::Recommend:
        openWebLink(weblinks::recommendPage);
        break;
    case Command::About:
        showAbout();
        break;
    case Command::None:
        break;
    }
}

void frmPubMain::onToolbarAction(QAction *button)
{
    if (const MenuItem *item = toolbarMenuItem(button->data().toString().toStdString()))
        if (QAction *target = action(item->name))
            target->trigger();
}

void frmPubMain::onTreeClicked(const QModelIndex &index)
{
    const std::string key = m_treeAdapter->keyOf(index);
    if (key.empty())
        return;
    core::BusyPointer busy(*this);
    folderTree().select(key);
    m_workspace.sourceListing().ShowFolder(key);
}

void frmPubMain::onTreeKeyboardMoved()
{
    const QModelIndex current = trv->currentIndex();
    const std::string key = m_treeAdapter->keyOf(current);
    if (!key.empty() && key != folderTree().selectedKey())
        onTreeClicked(current);
}

void frmPubMain::onFilterChanged()
{
    core::BusyPointer busy(*this);
    m_workspace.sourceListing().changeFilter(Frame1->filter());
}

void frmPubMain::openWebLink(std::string_view address)
{
    // a link that cannot be opened fails silently
    if (!m_objects.libraryLoaded)
        qCDebug(windowLog) << "cannot open" << QByteArray(address.data(), static_cast<qsizetype>(address.size()))
                           << "without the component library";
    m_objects.api->execCmd(std::string(address), core::WindowState::MaximizedFocus);
}

void frmPubMain::showAbout()
{
    if (!m_about)
        m_about = new frmPubAbout([this](std::string_view address) { openWebLink(address); }, this);
    m_about->exec();
}

CatalogMenu &frmPubMain::catalogMenu()
{
    if (!m_catalog)
        m_catalog = new CatalogMenu(m_workspace, m_grid, this);
    return *m_catalog;
}

void frmPubMain::onActivityChanged(bool busy)
{
    // while a deep add serves the window's events, nothing else may change the
    // destination, nor its unit (Options would remake the sizes under the add)
    for (const char *name : {"mensa", "mendr", "mendc", "mentm", "mento"})
        action(name)->setEnabled(!busy);
    for (const char *tag : {"tlb_add", "tlb_remove", "tlb_clear", "tlb_make", "tlb_options"})
        if (QAction *button = tlb->findChild<QAction *>(QString::fromLatin1(tag)))
            button->setEnabled(!busy);
    m_stopShortcut->setEnabled(busy);
    if (!busy && m_closeWhenIdle)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmPubMain::closeEvent(QCloseEvent *event)
{
    if (destinationActivity().isBusy()) {
        // the running add ends at its next folder; the window closes after it
        destinationActivity().requestStop();
        m_closeWhenIdle = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void frmPubMain::showMessage(const std::string &text, core::MessageIcon icon)
{
    if (m_objects.messageSink) {
        m_objects.messageSink(text, icon);
        return;
    }
    const QMessageBox::Icon boxIcon = icon == core::MessageIcon::Critical ? QMessageBox::Critical
        : icon == core::MessageIcon::Exclamation                          ? QMessageBox::Warning
                                                                          : QMessageBox::Information;
    showMessageBox(this, boxIcon, QString::fromStdString(text));
}

void frmPubMain::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmPubMain::processEvents()
{
    QCoreApplication::processEvents();
}

core::WinHandle frmPubMain::ownerWindow() const
{
    return static_cast<core::WinHandle>(winId());
}

void frmPubMain::showOptionsDialog()
{
    if (!m_options) {
        m_options = new frmPubOptions(
            m_workspace.settingsStore(),
            *m_objects.api,
            *m_objects.fs,
            [this] { m_workspace.applyDisplaySettings(); },
            this);
    }
    m_options->showModal();
}

void frmPubMain::fitColumns()
{
    // measured once the settings are loaded: the Size sample is in their unit
    const platform::LocaleFormat &locale = m_workspace.services().locale;
    for (auto [listing, view, which] : {std::tuple {&sourceListing(), lsvSource, core::Listing::Source},
             std::tuple {&destinationListing(), lsvTarget, core::Listing::Destination}})
        core::setDefaultColumnWidths(*listing, fittedColumnWidths(*view, which, m_grid, settings(), locale));
    // the destination's optional columns take their widths from the settings
    m_workspace.applyDisplaySettings();
}

// The design size grown with the font, and wide enough for the destination's
// columns side by side, as far as the screen allows.
QSize frmPubMain::defaultSize() const
{
    const FontScale scale = FontScale::of(font());
    double columns = columnSlack;
    for (const double width : m_destinationAdapter->columnWidths())
        columns += width;
    // the listings take four fifths of what the margins leave
    const double width = std::max(scale.width(designClientWidth), columns / 0.8 + 3 * paneMargin);
    QSize size(
        m_grid.toPixels(width), menuBar()->sizeHint().height() + m_grid.toPixels(scale.height(designClientHeight)));
    if (const QScreen *shown = screen()) {
        // room for the window manager's frame and title bar
        const QSize available = shown->availableGeometry().size() - QSize(16, 48);
        size = size.boundedTo(available);
    }
    return size;
}

double frmPubMain::clientHeightTwips() const
{
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
    return m_grid.toTwips(centralWidget()->height() + statusHeight);
}

void frmPubMain::layoutPanes()
{
    QWidget *client = centralWidget();
    // The toolbar band is 600 twips unless the toolbar needs more (large fonts
    // or a high resolution); the panes start 90 twips below the band. The
    // filter group keeps to the band's right end, and the toolbar ends before
    // it (what does not fit goes into its extension menu).
    const int groupLeft = Frame1->place(m_grid, client->width());
    const int groupBottom = Frame1->geometry().bottom() + 1 + m_grid.toPixels(30);
    const double band =
        std::max(toolbarBandHeight, m_grid.snap(m_grid.toTwips(std::max(tlb->sizeHint().height(), groupBottom))));
    tlb->setGeometry(0, 0, std::max(0, groupLeft - m_grid.toPixels(paneMargin)), m_grid.toPixels(band));
    m_layout.trv.top = band + paneMargin;
    m_layout.lsvSource.top = band + paneMargin;
    const double statusHeight = statusBar()->isVisible() ? m_grid.toTwips(statusBar()->height()) : 0;
    LayoutMainWindow(m_layout, m_grid.toTwips(client->width()), clientHeightTwips(), statusHeight, m_grid, m_treeWidth);
    for (auto [adapter, rect] :
        {std::pair {m_sourceAdapter, m_layout.lsvSource}, std::pair {m_destinationAdapter, m_layout.lsvTarget}}) {
        core::PerColumn<double> widths = adapter->columnWidths();
        if (BalanceNameColumns(widths, rect.width))
            adapter->setColumnWidths(widths);
    }
    placePanes();
}

void frmPubMain::placePanes()
{
    const auto place = [this](QWidget *widget, const TwipRect &r) {
        const int left = m_grid.toPixels(r.left);
        const int top = m_grid.toPixels(r.top);
        widget->setGeometry(left, top, m_grid.toPixels(r.right()) - left, m_grid.toPixels(r.bottom()) - top);
    };
    place(trv, m_layout.trv);
    place(lsvSource, m_layout.lsvSource);
    place(lsvTarget, m_layout.lsvTarget);
    place(lblVSplitter, m_layout.lblVSplitter);
    place(lblHSplitter, m_layout.lblHSplitter);
}

void frmPubMain::onSplitterMoved(SplitterDrag::Bar bar, QPoint position)
{
    const double offset = m_grid.toTwips(bar == SplitterDrag::Bar::Vertical ? position.x() : position.y());
    if (m_drag.move(bar, m_layout, offset, m_grid.toTwips(centralWidget()->width()), clientHeightTwips(), m_grid))
        placePanes();
}

bool frmPubMain::handleListingEvent(QTreeView *view, QObject *watched, QEvent *event)
{
    const bool isSource = view == lsvSource;
    if (watched == view->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            action(isSource ? "mensa" : "mendo")->trigger();
            return false;
        }
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            m_menus.value(isSource ? QStringLiteral("mens") : QStringLiteral("mend"))
                ->popup(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
            return true;
        }
        return false;
    }
    if (watched == view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            action(isSource ? "mensa" : "mendo")->trigger();
            return true;
        }
        if (!isSource && key == Qt::Key_Delete) {
            action("mendr")->trigger();
            return true;
        }
    }
    return false;
}

bool frmPubMain::handleShortcutOverride(QObject *watched, QKeyEvent *event)
{
    const QKeySequence pressed(event->keyCombination());
    const bool isMenuShortcut = std::any_of(m_actions.cbegin(), m_actions.cend(), [&pressed](const QAction *a) {
        return !a->shortcut().isEmpty() && a->shortcut() == pressed;
    });
    if (!isMenuShortcut)
        return false;
    if (watched == Frame1->filterBox()) {
        // The filter box keeps the listings' keys: Ctrl+A selects its text
        // and the next keys still go into it. The window's own (F1, F4, F5)
        // work from there as from anywhere.
        if (!m_listingShortcuts.contains(pressed))
            return false;
        event->accept();
        return true;
    }
    // elsewhere the menu's shortcut keys win over a control's own use of the
    // key (Ctrl+A in the destination selects the source rows, as the menu says)
    event->ignore();
    return true;
}

bool frmPubMain::handleDrop(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    const QMimeData *mime = drop->mimeData();
    if (!mime) {
        drop->ignore();
        return true;
    }
    const bool fromSource = ListingAdapter::isMarked(*mime, sourceRowsFormat);
    // the destination's own rows, and anything while an add runs, are refused
    const bool takes = !ListingAdapter::isMarked(*mime, destinationRowsFormat) && action("mensa")->isEnabled()
        && (fromSource || mime->hasFormat(QStringLiteral("text/uri-list")));
    if (!takes) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() != QEvent::Drop)
        return true;
    // The add runs once the drop is over: the other program waits for the
    // drop's answer meanwhile, and a deep add may take long.
    if (fromSource) {
        // the dragged rows are the selected ones: Add To Destination, as it is
        QTimer::singleShot(0, action("mensa"), &QAction::trigger);
    } else {
        const std::string uriList = mime->data(QStringLiteral("text/uri-list")).toStdString();
        QTimer::singleShot(0, this, [this, uriList] { m_workspace.adder().AddDroppedToDestination(uriList); });
    }
    return true;
}

bool frmPubMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        layoutPanes();
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride)
        return handleShortcutOverride(watched, static_cast<QKeyEvent *>(event));
    if (watched == lsvTarget->viewport()
        && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop))
        return handleDrop(event);
    if (watched == trv->viewport() && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // anywhere in the tree: the selected folder, whatever lies under the pointer
        m_workspace.adder().AddTreeFolderToDestination();
        return true;
    }
    if (watched == trv && event->type() == QEvent::KeyPress) {
        // moving through the tree with the keyboard shows the folder reached, as
        // a click does, once the view has moved its current node
        QMetaObject::invokeMethod(this, &frmPubMain::onTreeKeyboardMoved, Qt::QueuedConnection);
        return false;
    }
    for (QTreeView *view : {lsvSource, lsvTarget})
        if (watched == view || watched == view->viewport())
            return handleListingEvent(view, watched, event);
    return false;
}

} // namespace mrb::ui
