// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/designfont.h"

#include <QFontDatabase>
#include <QStringList>

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

} // namespace mrb::ui
