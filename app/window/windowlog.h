// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

// Failures of the window that the user is not told of, as debug messages of
// "mrb.window": off unless MRB_LOG is set (platform/os/failurelog.h), or
// switched on by Qt's own logging rules.
Q_DECLARE_LOGGING_CATEGORY(windowLog)
