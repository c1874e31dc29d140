#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Fails when a tracked C or C++ file differs from what .clang-format makes of it,
# and names each such file. The files go to clang-format in batches on every
# core: starting it once per file cost most of the check's time.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z "$format" ]]; then
    echo "check-format: clang-format is not installed (scripts/deps.sh test installs it)" >&2
    exit 1
fi
report=$(git ls-files -z -- '*.c' '*.cpp' '*.h' \
    | xargs -0 -n 50 -P "$(nproc)" "$format" --style=file --dry-run --Werror --ferror-limit=1 2>&1) || true
mapfile -t off < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if [[ ${#off[@]} -gt 0 ]]; then
    echo "These files differ from .clang-format (run: $format -i FILE):" >&2
    printf '  %s\n' "${off[@]}" >&2
    exit 1
elif grep -q . <<<"$report"; then
    # clang-format itself failed (a file it cannot read, a broken .clang-format)
    echo "$report" >&2
    exit 1
fi
echo "Formatting: every C and C++ file matches .clang-format."
