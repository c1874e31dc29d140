#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Builds the Debian package with CPack and checks it: dependencies from
# dpkg-shlibdeps, no maintainer scripts, no lintian errors, and, unpacked
# into a throwaway root, an mrb-list that works for a user who registered
# nothing. (It is never installed on this machine.)
# Usage: debianpackage_test.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build=$1 source=$2
source "$source/tests/support/installed.sh"
need cpack cmake
need dpkg-shlibdeps dpkg-dev
need lintian lintian
need file file

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work"/package/marrowby_*.deb)
[[ -f $deb ]] || fail "no package in $work/package"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libxlsxwriter4 libc6 qt6-qpa-plugins; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[[ $control == "control md5sums " ]] || fail "the control archive holds more than control and md5sums: $control"

# lintian refuses nothing worse than a warning (and says so when run as root)
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"

dpkg -x "$deb" "$work/root"
check_mrb_list "$work/root/usr" "$work"
echo "package $(basename "$deb") is sound"
