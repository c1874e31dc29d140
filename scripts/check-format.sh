#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Fails when a tracked C or C++ file differs from what .clang-format makes of it,
# and names each such file.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z "$format" ]]; then
    echo "check-format: clang-format is not installed (scripts/deps.sh test installs it)" >&2
    exit 1
fi
off=()
while IFS= read -r -d '' file; do
    "$format" --style=file "$file" | cmp -s - "$file" || off+=("$file")
done < <(git ls-files -z -- '*.c' '*.cpp' '*.h')
if [[ ${#off[@]} -gt 0 ]]; then
    echo "These files differ from .clang-format (run: $format -i FILE):" >&2
    printf '  %s\n' "${off[@]}" >&2
    exit 1
fi
echo "Formatting: every C and C++ file matches .clang-format."
