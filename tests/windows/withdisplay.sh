#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Runs a Windows program of the tests in a Wine prefix of its own, made and
# removed here, for tests that make windows: run under xvfb-run, its
# desktop is on that X server (the shared prefix's desktop has no display).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
file=$(mktemp -u "${TMPDIR:-/tmp}/mrb-display.XXXXXX")
trap '"$here"/wineprefix.sh remove "$file"' EXIT
"$here"/wineprefix.sh make "$file" >/dev/null
MRB_WINE_PREFIX_FILE=$file "$here"/wine-run.sh "$@"
