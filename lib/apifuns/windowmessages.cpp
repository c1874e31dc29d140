// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/windowmessages.h"

#include "lib/apifuns/windowmessage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTextEdit>
#include <QTreeView>

#include <algorithm>

namespace qfc
{

namespace
{

QColor colorOf(std::int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// Keeps a list's horizontal scroll range at least as wide as the extent the
// caller set, whatever the view itself computes when its items or size change.
class HorizontalExtent : public QObject
{
public:
    HorizontalExtent(QAbstractScrollArea *area, int extent)
        : QObject(area)
        , m_area(area)
        , m_extent(extent)
    {
        setObjectName(QStringLiteral("qfc-horizontal-extent"));
        connect(area->horizontalScrollBar(), &QScrollBar::rangeChanged, this, &HorizontalExtent::apply);
        area->viewport()->installEventFilter(this);
    }
    void setExtent(int extent)
    {
        m_extent = extent;
        apply();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            apply();
        return false;
    }

private:
    void apply()
    {
        QScrollBar *bar = m_area->horizontalScrollBar();
        const int needed = m_extent - m_area->viewport()->width();
        if (bar->maximum() < needed)
            bar->setRange(0, needed);
    }

    QAbstractScrollArea *m_area;
    int m_extent;
};

void setHorizontalExtent(QListView *list, int extent)
{
    auto *keeper =
        list->findChild<HorizontalExtent *>(QStringLiteral("qfc-horizontal-extent"), Qt::FindDirectChildrenOnly);
    if (extent <= 0) {
        // No extent: the list's own range again.
        delete keeper;
        list->doItemsLayout();
        return;
    }
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (keeper)
        keeper->setExtent(extent);
    else
        (new HorizontalExtent(list, extent))->setExtent(extent);
}

void setColumnWidth(QAbstractItemView *view, QHeaderView *header, int column, int width)
{
    if (column < 0 || column >= header->count())
        return;
    if (width >= 0) {
        header->resizeSection(column, width);
        return;
    }
    // -1: as wide as the widest item; -2: the header's text counts too.
    int fit = view->sizeHintForColumn(column);
    if (width == -2)
        fit = std::max(fit, header->sectionSizeHint(column));
    if (fit > 0)
        header->resizeSection(column, fit);
}

void setBackground(QTreeView *tree, std::int32_t bgr)
{
    QPalette palette = tree->palette();
    palette.setBrush(QPalette::Base, bgr == -1 ? QApplication::palette(tree).base() : QBrush(colorOf(bgr)));
    tree->setPalette(palette);
}

// What a message nobody answered means on Qt's own widgets; false for a
// message or a widget without one.
bool carryOut(QWidget *widget, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    switch (message) {
    case messages::undo:
        runEditCommand(widget, EditCommand::Undo);
        return true;
    case messages::cut:
        runEditCommand(widget, EditCommand::Cut);
        return true;
    case messages::copy:
        runEditCommand(widget, EditCommand::Copy);
        return true;
    case messages::paste:
        runEditCommand(widget, EditCommand::Paste);
        return true;
    case messages::clear:
        runEditCommand(widget, EditCommand::Delete);
        return true;
    case messages::setHorizontalExtent:
        if (auto *list = qobject_cast<QListView *>(widget))
            setHorizontalExtent(list, paramA);
        return true;
    case messages::setColumnWidth:
        if (auto *header = qobject_cast<QHeaderView *>(widget))
            widget = header->parentWidget();
        if (auto *tree = qobject_cast<QTreeView *>(widget))
            setColumnWidth(tree, tree->header(), paramA, paramB);
        else if (auto *table = qobject_cast<QTableView *>(widget))
            setColumnWidth(table, table->horizontalHeader(), paramA, paramB);
        return true;
    case messages::setBackgroundColor:
        if (auto *tree = qobject_cast<QTreeView *>(widget))
            setBackground(tree, paramB);
        return true;
    default:
        return false;
    }
}

} // namespace

void runEditCommand(QWidget *widget, EditCommand command)
{
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        widget = combo->lineEdit();
    if (auto *line = qobject_cast<QLineEdit *>(widget)) {
        const bool editable = !line->isReadOnly();
        switch (command) {
        case EditCommand::Undo:
            line->undo();
            break;
        case EditCommand::Redo:
            line->redo();
            break;
        case EditCommand::Cut:
            if (editable)
                line->cut();
            break;
        case EditCommand::Copy:
            line->copy();
            break;
        case EditCommand::Paste:
            if (editable)
                line->paste();
            break;
        case EditCommand::Delete:
            if (editable && line->hasSelectedText())
                line->del();
            break;
        }
        return;
    }
    // QTextEdit and QPlainTextEdit offer the same commands under the same names.
    auto run = [command](auto *edit) {
        const bool editable = !edit->isReadOnly();
        switch (command) {
        case EditCommand::Undo:
            edit->undo();
            break;
        case EditCommand::Redo:
            edit->redo();
            break;
        case EditCommand::Cut:
            if (editable)
                edit->cut();
            break;
        case EditCommand::Copy:
            edit->copy();
            break;
        case EditCommand::Paste:
            if (editable)
                edit->paste();
            break;
        case EditCommand::Delete:
            if (editable) {
                QTextCursor cursor = edit->textCursor();
                cursor.removeSelectedText();
                edit->setTextCursor(cursor);
            }
            break;
        }
    };
    if (auto *text = qobject_cast<QTextEdit *>(widget))
        run(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        run(plain);
}

bool sendWindowMessage(QWidget *widget, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    if (!widget)
        return false;
    QfcMessageEvent event(message, paramA, paramB);
    const QPointer<QWidget> alive(widget);
    QCoreApplication::sendEvent(widget, &event);
    if (event.isAccepted())
        return true;
    if (alive)
        carryOut(widget, message, paramA, paramB);
    return false;
}

void postWindowMessage(QWidget *widget, std::int32_t message, std::int32_t paramA, std::int32_t paramB)
{
    if (!widget)
        return;
    // Queued on the widget: dropped by Qt when the widget goes first.
    QMetaObject::invokeMethod(
        widget,
        [widget, message, paramA, paramB] { sendWindowMessage(widget, message, paramA, paramB); },
        Qt::QueuedConnection);
}

} // namespace qfc
