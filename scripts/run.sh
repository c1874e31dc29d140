#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/deps.sh run
scripts/build.sh dev
if [[ -x build/bin/mrb ]]; then
    build/bin/mrb-register "$PWD/build/bin/libQFC_MRB.so" >/dev/null 2>&1 || true
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
        echo "There is no display to show the window on. Start it on a virtual one:" >&2
        echo "  xvfb-run -a -s '-screen 0 1280x1024x24' build/bin/mrb" >&2
        exit 1
    fi
    exec build/bin/mrb "$@"
fi
# Until the window exists, show the settings through the command-line front end.
exec build/bin/mrb-list --print-settings
