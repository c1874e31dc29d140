// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fs/filesystem.h"
#include "platform/locale/localeformat.h"

#include <string>

namespace mrb::core
{

// The general date-and-time text of the locale; empty for an unknown time.
std::string FormatDate(
    const platform::Timestamp &time, const platform::LocaleFormat &locale = platform::LocaleFormat::user());
// The same text in place of out's, reusing its storage.
void assignDate(std::string &out, const platform::Timestamp &time, const platform::LocaleFormat &locale);

} // namespace mrb::core
