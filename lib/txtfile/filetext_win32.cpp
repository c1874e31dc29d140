// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/filetext.h"
#include "platform/windows/codepages.h"

namespace qfc
{

std::string fileBytesOf(std::string_view text)
{
    return mrb::platform::toCodePage(text, mrb::platform::systemAnsiCodePage);
}

std::string textOfFile(std::string_view bytes)
{
    return mrb::platform::fromCodePage(bytes, mrb::platform::systemAnsiCodePage);
}

} // namespace qfc
