// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/casefold.h"

#include <QChar>

namespace mrb::platform
{

char32_t foldedCodePoint(char32_t cp)
{
    return QChar::toCaseFolded(cp);
}

} // namespace mrb::platform
