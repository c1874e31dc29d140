// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/unicodecase.h"
#include "platform/windows/codepages.h"

namespace qfc
{

std::string unicodeLowerCased(std::string_view text)
{
    return mrb::platform::lowerCasedText(text);
}

} // namespace qfc
