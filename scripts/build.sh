#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Configures and builds one preset (dev by default) into build/ (or build-asan/).
# Further arguments go to the configure step (-DMRB_DEBUG_INFO=lines ...).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
preset=${1:-dev}
[[ $# -gt 0 ]] && shift
cmake --preset "$preset" "$@" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
