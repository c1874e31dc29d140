// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/uilog.h"

#include "platform/os/failurelog.h"

Q_LOGGING_CATEGORY(qfcUiLog, "qfc.ui", mrb::platform::failureLogEnabled() ? QtDebugMsg : QtWarningMsg)
