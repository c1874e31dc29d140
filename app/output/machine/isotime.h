// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace mrb::core
{

// The local time in ISO 8601 with its UTC offset, to the second:
// "2026-03-29T03:00:00+02:00". The time zone (TZ) is read on the first call.
// Appends nothing for a time the system cannot convert.
void appendIsoDateTime(std::string &out, std::int64_t secondsSinceEpoch);

} // namespace mrb::core
