// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/os/result.h"

namespace mrb::platform
{

// How writing a file ended: success, or the path of the file with the reason
// it could not be written (and the system's error number, when the system
// gave one). Every writer of an output, a workbook, a profile or a registry
// file reports through this one type.
using WriteResult = Result<>;

} // namespace mrb::platform
