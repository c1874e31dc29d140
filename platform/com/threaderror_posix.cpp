// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/threaderror.h"

namespace mrb::platform
{

void setThreadError(const std::string &, const std::string &)
{
}

} // namespace mrb::platform
