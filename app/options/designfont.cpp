// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/designfont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>

namespace mrb::ui
{

QFont designFont()
{
    const QStringList families = QFontDatabase::families();
    struct Candidate {
        const char *family;
        double points;
    };
    // In order of likeness in width to Tahoma, which is what the layouts and
    // the default column widths depend on.
    const Candidate candidates[] = {
        {"Tahoma", 8.25}, {"DejaVu Sans Condensed", 8}, {"Liberation Sans", 8}, {"Arial", 8}, {"DejaVu Sans", 7.5}};
    for (const Candidate &c : candidates) {
        if (families.contains(QString::fromLatin1(c.family))) {
            QFont font(QString::fromLatin1(c.family));
            font.setPointSizeF(c.points);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    return font;
}

namespace
{

// The average width of a character in text like the forms' own (words,
// blanks, digits and punctuation: a face with wide blanks and full stops
// needs more room than its letters alone say) and the line height, in pixels.
QSizeF letterCell(const QFont &font)
{
    const QFontMetricsF metrics(font);
    const QString text = QStringLiteral("Delete files/folders really after outputted listing. "
                                        "Precision Of Size: 1,234.56 KB (Last Accessed Date)");
    return {metrics.horizontalAdvance(text) / text.size(), metrics.height()};
}

} // namespace

FontScale FontScale::of(const QFont &font)
{
    static const QSizeF design = letterCell(designFont());
    const QSizeF cell = letterCell(font);
    FontScale scale;
    if (design.width() > 0 && design.height() > 0) {
        // a smaller font keeps the design geometry, which its text then fits too
        scale.x = std::max(1.0, cell.width() / design.width());
        scale.y = std::max(1.0, cell.height() / design.height());
    }
    return scale;
}

} // namespace mrb::ui
