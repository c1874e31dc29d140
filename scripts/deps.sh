#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages a task needs when they are missing.
# Usage: scripts/deps.sh build|run|test|bench
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

packages=()
read_list() { while read -r p _; do [[ -z "$p" || "$p" == \#* ]] || packages+=("$p"); done < "$here/packages/$1.txt"; }
read_list build
case "${1:-build}" in
    build) ;;
    run) read_list run ;;
    test) read_list run; read_list test ;;
    bench) read_list run; read_list test; read_list bench ;;
    *) echo "usage: $0 build|run|test|bench" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root:  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq || true
apt-get install -y -qq --no-install-recommends "${missing[@]}"
