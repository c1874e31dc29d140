#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Runs a Windows program under Wine in the test prefix: the one WINEPREFIX
# names, else the one whose folder the file MRB_WINE_PREFIX_FILE holds (the
# build tree's tests make it, tests/windows/wineprefix.sh).
set -euo pipefail
if [[ -z "${WINEPREFIX:-}" ]]; then
    file=${MRB_WINE_PREFIX_FILE:?neither WINEPREFIX nor MRB_WINE_PREFIX_FILE is set}
    WINEPREFIX=$(cat "$file")
fi
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 "$@"
