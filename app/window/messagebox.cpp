// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/messagebox.h"

#include "app/window/commandtable.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QSpacerItem>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace mrb::ui
{

QString fittedText(const QString &text, const QFontMetrics &metrics, const QSize &room)
{
    const int lineHeight = std::max(1, metrics.lineSpacing());
    const int maxLines = std::max(3, room.height() / lineHeight);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > maxLines) {
        const int head = maxLines / 2;
        const int tail = maxLines - head - 1;
        lines = lines.mid(0, head) + QStringList {QStringLiteral("…")} + lines.mid(lines.size() - tail);
    }
    for (QString &line : lines) {
        // The box wraps a line at its blanks: one that then fits in a few
        // lines stays whole.
        const QRect wrapped =
            metrics.boundingRect(QRect(0, 0, room.width(), std::numeric_limits<int>::max()), Qt::TextWordWrap, line);
        if (wrapped.width() > room.width() || wrapped.height() > 4 * lineHeight)
            line = metrics.elidedText(line, Qt::ElideMiddle, room.width());
    }
    return lines.join(QLatin1Char('\n'));
}

void showMessageBox(QWidget *owner, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon,
        QString::fromUtf8(programTitle.data(), static_cast<qsizetype>(programTitle.size())),
        {},
        QMessageBox::Ok,
        owner);
    box.setTextFormat(Qt::PlainText);
    const QScreen *screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The rest of the screen holds the icon, the margins and the button.
    box.setText(fittedText(text, QFontMetrics(box.font()), QSize(available.width() * 3 / 4, available.height() / 2)));
    // A title bar shows the title in bold beside the window's icon and its
    // buttons; a short message would leave too little room for it. The box
    // takes no minimum width of its own, but its layout does.
    QFont bold = box.font();
    bold.setBold(true);
    const QFontMetrics titleMetrics(bold);
    const int titleBar = titleMetrics.horizontalAdvance(box.windowTitle()) + 8 * titleMetrics.height();
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(
            new QSpacerItem(std::min(titleBar, available.width() * 3 / 4), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(),
            0,
            1,
            grid->columnCount());
    }
    box.exec();
}

} // namespace mrb::ui
