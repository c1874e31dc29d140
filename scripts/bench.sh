#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Builds the release preset and runs every benchmark (build-release/bin/*_bench).
# The benchmarks make their test folders under $TMPDIR (default /tmp) and
# remove them afterwards.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/deps.sh bench
cmake --preset release
cmake --build --preset release

status=0
found=0
for bench in build-release/bin/*_bench; do
    [ -x "$bench" ] || continue
    found=1
    echo "== $(basename "$bench")"
    "$bench" || status=1
done
if [ "$found" = 0 ]; then
    echo "no benchmarks found in build-release/bin" >&2
    exit 1
fi
exit $status
