// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/datetext.h"

namespace mrb::core
{

std::string FormatDate(const platform::Timestamp &time, const platform::LocaleFormat &locale)
{
    return time ? locale.formatDateTime(*time) : std::string();
}

} // namespace mrb::core
