// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/clicontext.h"
#include "app/workspace/workspace.h"

#include <ostream>

namespace mrb::cli
{

int runPrintSettings(CliContext &context)
{
    const core::SettingsRecord &record = context.workspace.settings();
    for (std::size_t i = 0; i < core::settingCount; ++i) {
        const core::SettingKey &k = core::settingKeys[i];
        context.out << k.section << '.' << k.key << '=' << record.value(static_cast<core::Setting>(i)) << '\n';
    }
    context.out.flush();
    return context.out ? ExitOk : ExitFailed;
}

} // namespace mrb::cli
