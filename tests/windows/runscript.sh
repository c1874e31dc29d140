#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Runs one test script (its Windows path, then its arguments) with cscript
# in the test prefix. It passes only when the script exits 0 and its last
# line says "0 failed": Wine's script host ends a script that does not even
# compile with status 0 and not a word.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
output=$("$here/wine-run.sh" cscript //nologo "$@" 2>&1)
status=$?
printf '%s\n' "$output"
last=$(printf '%s\n' "$output" | tr -d '\r' | tail -n 1)
if [[ $status -ne 0 || "$last" != "0 failed" ]]; then
    echo "$1 did not finish with \"0 failed\" (exit status $status)" >&2
    exit 1
fi
