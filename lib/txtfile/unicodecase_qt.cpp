// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/unicodecase.h"

#include <QString>

namespace qfc
{

std::string unicodeLowerCased(std::string_view text)
{
    const QString unicode = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return unicode.toLower().toStdString();
}

} // namespace qfc
