// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/windowlog.h"

#include "platform/os/failurelog.h"

Q_LOGGING_CATEGORY(windowLog, "mrb.window", mrb::platform::failureLogEnabled() ? QtDebugMsg : QtWarningMsg)
