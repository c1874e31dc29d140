#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Builds everything and runs every test: once in the normal build, once with
# AddressSanitizer and UndefinedBehaviorSanitizer; the tests of threaded code
# once more with ThreadSanitizer; then replays every fuzz
# corpus (fuzz/corpus) through the fuzz targets, a small clang build of the
# parsers alone; and cross-builds the Windows build (build-windows/) and
# runs its tests under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/deps.sh test

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
echo "== formatting"
scripts/check-format.sh || status=1
echo "== layers"
scripts/check-layers.sh || status=1
# A build tree made here gets only the debug information a report needs:
# none in dev, line tables in asan (file and line in sanitizer reports).
# That saves about a quarter of the compile time; a tree that exists keeps
# its own setting. MRB_DEBUG_INFO=full makes new trees as the presets do.
declare -A debug_info=([dev]=none [asan]=lines) tree=([dev]=build [asan]=build-asan)
for preset in dev asan; do
    echo "== build ($preset)"
    configure=()
    if [[ ! -f ${tree[$preset]}/CMakeCache.txt ]]; then
        configure=(-DMRB_DEBUG_INFO="${MRB_DEBUG_INFO:-${debug_info[$preset]}}")
        echo "   new tree ${tree[$preset]}/: ${configure[*]} (cmake --preset $preset -DMRB_DEBUG_INFO=full to debug)"
    fi
    scripts/build.sh "$preset" "${configure[@]}"
    echo "== test ($preset)"
    ctest --preset "$preset" -j "$(nproc)" || status=1
done
# Threaded code under ThreadSanitizer: only the tests of the threads (the
# catalog's walk beside its storing, the pool that reads media tags) are built so.
echo "== threads (ThreadSanitizer)"
if [[ ! -f build-tsan/CMakeCache.txt ]]; then
    cmake --preset tsan -DMRB_DEBUG_INFO="${MRB_DEBUG_INFO:-lines}" >/dev/null
fi
tsan_tests=(catalog_test tagpool_test)
cmake --build --preset tsan -j "$(nproc)" --target "${tsan_tests[@]}"
for test in "${tsan_tests[@]}"; do
    TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1} build-tsan/bin/"$test" --gtest_brief=1 || status=1
done
echo "== fuzz corpora"
scripts/build.sh fuzz
ctest --preset fuzz -j "$(nproc)" || status=1
echo "== windows (MinGW-w64, tests under Wine)"
scripts/build.sh windows
# The tests share one Wine prefix: its first test makes it, its last one
# stops the server and removes it, also when a test in between failed.
ctest --preset windows || status=1
exit $status
