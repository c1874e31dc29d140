#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# The Wine prefix the Windows tests share.
#   wineprefix.sh make FILE    makes a fresh prefix in a temporary folder and
#                              writes its folder into FILE
#   wineprefix.sh remove FILE  stops its server and removes it and FILE
set -euo pipefail
action=$1 file=$2
wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver
export WINEDEBUG=-all
case "$action" in
    make)
        [[ -f "$file" ]] && "$0" remove "$file"
        WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/mrb-wine.XXXXXX")
        export WINEPREFIX
        echo "$WINEPREFIX" > "$file"
        # One server for every test of the run, until remove stops it. It and
        # the services wineboot starts outlive this script: their output goes
        # to a log, or the test runner would wait for them to close ours.
        log=$WINEPREFIX/boot.log
        "$server" -p <&- >"$log" 2>&1
        # No browser or .NET engine to offer: the tests need neither. A
        # 64-bit Wine without its 32-bit half reports the missing 32-bit
        # programs as a failure; the prefix is made all the same.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init <&- >>"$log" 2>&1 || true
        if [[ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]]; then
            echo "wineboot made no prefix in $WINEPREFIX:" >&2
            cat "$log" >&2
            exit 1
        fi
        echo "Wine prefix: $WINEPREFIX"
        ;;
    remove)
        [[ -f "$file" ]] || exit 0
        WINEPREFIX=$(cat "$file")
        export WINEPREFIX
        "$server" -k 2>/dev/null || true
        # the folder must be ours before anything is removed
        [[ "$WINEPREFIX" == "${TMPDIR:-/tmp}"/mrb-wine.* && -d "$WINEPREFIX" ]] && rm -rf "$WINEPREFIX"
        rm -f "$file"
        ;;
    *)
        echo "usage: $0 make|remove FILE" >&2
        exit 2
        ;;
esac
