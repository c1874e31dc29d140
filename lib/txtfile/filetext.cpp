// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/txtfile/filetext.h"

namespace qfc
{

std::string fileBytesOf(std::string_view text)
{
    return std::string(text);
}

std::string textOfFile(std::string_view bytes)
{
    return std::string(bytes);
}

} // namespace qfc
