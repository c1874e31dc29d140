#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Runs the libFuzzer targets, one after the other, each for SECONDS (60 by
# default): all of them, or those named.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: the folders of fuzz/corpus
# Each starts from its seed corpus (fuzz/corpus/TARGET) and from what earlier
# runs found (build-fuzz/corpus/TARGET, kept between runs). A crash or a
# broken check is written to build-fuzz/findings/TARGET/; once it is fixed,
# copy the input into fuzz/corpus/TARGET so every test run replays it.
# Extra libFuzzer flags come from FUZZ_ARGS (for instance -max_len=65536).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
[[ $# -gt 0 ]] && shift
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

scripts/deps.sh test
scripts/build.sh fuzz >/dev/null

status=0
for target in "${targets[@]}"; do
    binary=build-fuzz/bin/${target}_fuzz
    if [[ ! -x "$binary" ]]; then
        echo "fuzz.sh: no fuzz target named $target" >&2
        status=2
        continue
    fi
    work=build-fuzz/corpus/$target
    findings=build-fuzz/findings/$target
    mkdir -p "$work" "$findings"
    log=build-fuzz/findings/$target.log
    echo "== $target for ${seconds}s"
    # shellcheck disable=SC2086 # FUZZ_ARGS holds several flags
    if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" ${FUZZ_ARGS:-} "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
        status=1
        echo "   FOUND A PROBLEM: see $log and $findings/"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)
    echo "   ${runs:-?} executions, ${cov:-no coverage line}, corpus $(find "$work" -type f | wc -l) inputs"
done
exit $status
