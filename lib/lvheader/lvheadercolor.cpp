// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/lvheader/lvheadercolor.h"

#include <QColor>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTreeView>

namespace qfc
{

namespace
{

// The module's state: the colours last asked for, and the one header that
// carries them with the style sheet it had before.
struct HeaderColoring {
    std::int32_t headerBgColor = 0;
    std::int32_t headerForeColor = 0;
    QPointer<QHeaderView> hookedHeader;
    QString previousStyleSheet;
};

HeaderColoring &state()
{
    static HeaderColoring s;
    return s;
}

QHeaderView *headerOf(QWidget *listView)
{
    if (auto *header = qobject_cast<QHeaderView *>(listView))
        return header;
    if (auto *tree = qobject_cast<QTreeView *>(listView))
        return tree->header();
    if (auto *table = qobject_cast<QTableView *>(listView))
        return table->horizontalHeader();
    return nullptr;
}

QString htmlColor(std::int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF).name();
}

void unhook()
{
    HeaderColoring &s = state();
    if (s.hookedHeader)
        s.hookedHeader->setStyleSheet(s.previousStyleSheet);
    s.hookedHeader.clear();
    s.previousStyleSheet.clear();
}

} // namespace

void hookLVHeader(QWidget *listView, bool setUnset, std::int32_t bgColor, std::int32_t foreColor)
{
    HeaderColoring &s = state();
    if (!setUnset) {
        unhook();
        return;
    }
    QHeaderView *header = headerOf(listView);
    if (!header)
        return;
    s.headerBgColor = bgColor;
    s.headerForeColor = foreColor;
    // A second install never takes our own colouring for the header's own
    // look: the same header keeps the sheet saved first, another is restored.
    if (s.hookedHeader != header) {
        unhook();
        s.hookedHeader = header;
        s.previousStyleSheet = header->styleSheet();
    }
    // With borders of its own a section is filled with the colour itself, not
    // with a shade the style makes of it.
    header->setStyleSheet(s.previousStyleSheet
        + QStringLiteral("\nQHeaderView::section { color: %1; background-color: %2; border: 0px; "
                         "border-right: 1px solid palette(mid); border-bottom: 1px solid palette(mid); "
                         "padding: 0px 4px; }")
              .arg(htmlColor(s.headerForeColor), htmlColor(s.headerBgColor)));
}

} // namespace qfc
