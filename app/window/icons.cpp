// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/icons.h"

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <string>

namespace mrb::ui::icons
{

namespace
{

constexpr int side = 32;

// Looks the name up in the current theme, then in Adwaita, which most
// desktops without a theme of their own still have installed.
QIcon themed(const char *name)
{
    static const bool fallbackSet = [] {
        if (QIcon::fallbackThemeName().isEmpty())
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)fallbackSet;
    return QIcon::fromTheme(QString::fromLatin1(name));
}

template <typename Draw> QIcon drawn(Draw draw)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pixmap);
}

void drawFolder(QPainter &p, bool open)
{
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(240, 200, 90));
    p.drawRoundedRect(QRectF(3, 7, 12, 6), 2, 2);
    p.drawRoundedRect(QRectF(3, 10, 26, 17), 2, 2);
    if (open) {
        p.setBrush(QColor(250, 220, 130));
        p.drawPolygon(QPolygonF({QPointF(7, 15), QPointF(31, 15), QPointF(27, 27), QPointF(3, 27)}));
    }
}

void drawFile(QPainter &p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(7, 3), QPointF(20, 3), QPointF(26, 9), QPointF(26, 29), QPointF(7, 29)}));
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
    p.setPen(QPen(QColor(150, 150, 150), 1.2));
    for (int y = 14; y <= 24; y += 4)
        p.drawLine(QPointF(11, y), QPointF(22, y));
}

void drawDrive(QPainter &p)
{
    p.setPen(QPen(QColor(70, 70, 80), 1.5));
    p.setBrush(QColor(190, 195, 205));
    p.drawRoundedRect(QRectF(3, 10, 26, 13), 3, 3);
    p.setBrush(QColor(60, 200, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(24, 16.5), 2, 2);
}

void drawHome(QPainter &p)
{
    p.setPen(QPen(QColor(90, 60, 40), 1.5));
    p.setBrush(QColor(200, 80, 60));
    p.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(29, 16), QPointF(3, 16)}));
    p.setBrush(QColor(240, 225, 190));
    p.drawRect(QRectF(7, 16, 18, 12));
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRectF(14, 20, 5, 8));
}

void drawArrow(QPainter &p, bool up)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 80, 80));
    if (up)
        p.drawPolygon(QPolygonF({QPointF(16, 8), QPointF(26, 22), QPointF(6, 22)}));
    else
        p.drawPolygon(QPolygonF({QPointF(6, 10), QPointF(26, 10), QPointF(16, 24)}));
}

// A plain picture per toolbar command, used when the theme has none.
void drawToolbarFallback(QPainter &p, std::string_view tag)
{
    const QColor ink(40, 90, 160);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    if (tag == "all") {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(5, 5, 22, 22));
        p.drawPolyline(QPolygonF({QPointF(10, 16), QPointF(15, 21), QPointF(23, 10)}));
    } else if (tag == "add") {
        p.drawLine(QPointF(16, 6), QPointF(16, 26));
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
    } else if (tag == "remove") {
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
    } else if (tag == "clear") {
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
    } else if (tag == "make") {
        drawFile(p);
    } else if (tag == "options") {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 8, 8);
        p.drawEllipse(QPointF(16, 16), 2, 2);
    } else if (tag == "donate") {
        QPainterPath heart;
        heart.moveTo(16, 27);
        heart.cubicTo(2, 17, 6, 4, 16, 11);
        heart.cubicTo(26, 4, 30, 17, 16, 27);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 50, 60));
        p.drawPath(heart);
    }
}

QIcon withFallback(const char *themeName, QIcon fallback)
{
    QIcon icon = themed(themeName);
    return icon.isNull() ? fallback : icon;
}

} // namespace

QIcon treeImage(int index)
{
    static QHash<int, QIcon> cache;
    if (auto it = cache.constFind(index); it != cache.constEnd())
        return *it;
    QIcon icon;
    switch (index) {
    case 1:
        icon = withFallback("drive-harddisk", drawn([](QPainter &p) { drawDrive(p); }));
        break;
    case 2:
        icon = withFallback("folder", drawn([](QPainter &p) { drawFolder(p, false); }));
        break;
    case 3:
        icon = withFallback("folder-open", drawn([](QPainter &p) { drawFolder(p, true); }));
        break;
    case 4:
        icon = withFallback("text-x-generic", drawn([](QPainter &p) { drawFile(p); }));
        break;
    case 5:
        icon = withFallback("user-home", drawn([](QPainter &p) { drawHome(p); }));
        break;
    default:
        break;
    }
    cache.insert(index, icon);
    return icon;
}

QIcon headerImage(int index)
{
    if (index == 1)
        return withFallback("view-sort-ascending", drawn([](QPainter &p) { drawArrow(p, true); }));
    if (index == 2)
        return withFallback("view-sort-descending", drawn([](QPainter &p) { drawArrow(p, false); }));
    return {};
}

QIcon toolbarImage(std::string_view themeName, std::string_view tag)
{
    const QIcon icon = themed(std::string(themeName).c_str());
    if (!icon.isNull())
        return icon;
    return drawn([tag](QPainter &p) { drawToolbarFallback(p, tag); });
}

QIcon windowIcon()
{
    return QIcon(productLogo(64));
}

QPixmap productLogo(int sidePixels)
{
    QPixmap pixmap(sidePixels, sidePixels);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(sidePixels / 72.0, sidePixels / 72.0);
    // a stack of three list sheets with an "M" on the front one
    for (int i = 2; i >= 0; --i) {
        const QRectF sheet(8 + 6 * i, 6 + 5 * i, 44, 54);
        p.setPen(QPen(QColor(40, 70, 120), 2));
        p.setBrush(i == 0 ? QColor(250, 250, 245) : QColor(215, 225, 240));
        p.drawRoundedRect(sheet, 4, 4);
    }
    QLinearGradient band(0, 0, 72, 0);
    band.setColorAt(0, QColor(190, 60, 40));
    band.setColorAt(1, QColor(230, 140, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(8, 10, 44, 16), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(8, 10, 44, 16), Qt::AlignCenter, QStringLiteral("M"));
    p.setPen(QPen(QColor(120, 130, 150), 2));
    for (int y = 34; y <= 52; y += 6)
        p.drawLine(QPointF(15, y), QPointF(45, y));
    return pixmap;
}

QPixmap makerLogo(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(1, 1, width - 2, height - 2);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, QColor(45, 80, 140));
    fill.setColorAt(1, QColor(25, 45, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(frame, 6, 6);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(10, height / 4));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(frame.adjusted(0, 0, 0, -height / 6.0), Qt::AlignCenter, QStringLiteral("marrowby.org"));
    font.setBold(false);
    font.setPixelSize(std::max(8, height / 7));
    p.setFont(font);
    p.setPen(QColor(200, 215, 240));
    p.drawText(frame.adjusted(0, height / 2.0, 0, 0), Qt::AlignCenter, QStringLiteral("free tools for files"));
    return pixmap;
}

} // namespace mrb::ui::icons
