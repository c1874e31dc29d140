// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qfc
{

// Names as the enumerations list them: trimmed of blanks and a final NUL; a
// name longer than 254 characters ends the list there. None is skipped, so
// the n-th name listed is the n-th name given.
std::vector<std::string> listedNames(const std::vector<std::string> &names);

// Binary data of up to four bytes as a little-endian signed number in
// decimal; "" for more.
std::string binaryValueText(std::string_view data);

std::string joined(const std::vector<std::string> &items, std::string_view separator);

} // namespace qfc
