#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Builds everything and runs every test: once in the normal build, once with
# AddressSanitizer and UndefinedBehaviorSanitizer; then replays every fuzz
# corpus (fuzz/corpus) through the fuzz targets, a small clang build of the
# parsers alone.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/deps.sh test

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
echo "== formatting"
scripts/check-format.sh || status=1
for preset in dev asan; do
    echo "== build ($preset)"
    scripts/build.sh "$preset"
    echo "== test ($preset)"
    ctest --preset "$preset" -j "$(nproc)" || status=1
done
echo "== fuzz corpora"
scripts/build.sh fuzz
ctest --preset fuzz -j "$(nproc)" || status=1
exit $status
