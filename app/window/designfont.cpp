// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/designfont.h"

#include <QFontDatabase>
#include <QStringList>

#include <string_view>

namespace mrb::ui {

QFont designFont()
{
    const QStringList families = QFontDatabase::families();
    for (const char *candidate : {"Tahoma", "Verdana", "DejaVu Sans", "Liberation Sans"}) {
        if (families.contains(QString::fromLatin1(candidate))) {
            QFont font(QString::fromLatin1(candidate));
            font.setPointSizeF(std::string_view(candidate) == "Tahoma" ? 8.25 : 8);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8);
    return font;
}

} // namespace mrb::ui
