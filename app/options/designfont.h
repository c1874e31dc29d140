// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace mrb::ui
{

// The small sans face the forms' twips geometry was drawn for: Tahoma
// 8.25 pt where it is installed, else the installed face nearest to it in
// width.
QFont designFont();

// How much more room a font's text takes than the design face's: the ratios
// of its average character width (over a sample of the forms' texts) and of
// its line height to the design face's, never below 1. A length laid out in
// twips for the design face, times these, holds the same text in the font.
struct FontScale {
    double x = 1;
    double y = 1;

    static FontScale of(const QFont &font);
    double width(double twips) const { return twips * x; }
    double height(double twips) const { return twips * y; }
};

} // namespace mrb::ui
