// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <string_view>

namespace mrb::ui
{

// The core's texts are UTF-8 (names that are not show replacement marks).
inline QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace mrb::ui
