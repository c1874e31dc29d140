#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# mrb-list.exe under Wine beside the Linux build's mrb-list: the same tree
# listed in every format gives the same rows (paths compared in one form,
# the program's own outputs read from the system's 8-bit code page), and
# the exit codes of the command line hold.
# Usage: mrblist.sh MRB-LIST.EXE LINUX-MRB-LIST
set -uo pipefail
exe=$1 linux=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [[ ! -x $linux ]]; then
    echo "the Linux build's mrb-list is missing ($linux): build the dev preset first" >&2
    exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/mrb-list-wine.XXXXXX")
trap 'chattr -i "$work/locked" 2>/dev/null; rm -rf "$work"' EXIT
# UTF-8 names for Wine; its 8-bit code page is then Windows-1252.
export LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Europe/Berlin

tree=$work/tree
mkdir -p "$tree/sub/deeper" "$work/lin" "$work/win"
printf 'hello' >"$tree/a.txt"
printf '%02000d' 0 >"$tree/Zebra.dat"
printf 'caf\xc3\xa9' >"$tree/caf$(printf '\xc3\xa9').txt"
printf '1234567890' >"$tree/sub/b.mp3"
head -c 5000 /dev/zero >"$tree/sub/deeper/c.txt"
cp "$exe" "$work/win/mrb-list.exe"

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
# Windows paths ("Z:\a\b") as the Linux ones ("/a/b").
as_linux_paths() { sed -e 's#Z:\\\\#/#g' -e 's#Z:\\#/#g' -e 's#\\\\#/#g' -e 's#\\#/#g'; }
run_linux() { (cd "$work/lin" && "$linux" --settings "$work/lin/options.dll" "$@"); }
run_windows() { (cd "$work/win" && "$here/wine-run.sh" "$work/win/mrb-list.exe" --settings 'Z:'"${work//\//\\}"'\win\options.dll' "$@"); }

failed=0
fail() {
    echo "FAIL: $1" >&2
    failed=$((failed + 1))
}

# Every column that both systems fill alike: no type (MIME against the
# shell's names) and no dates (locales of two systems).
same=(--set Common.Sub=True --set Common.Type=False --set Common.Created=False --set Common.Modified=False
    --set Common.Accessed=False --set Common.Unit=Bytes --set Output.Header=True)

# name | arguments | output file | how the Windows bytes are read
formats=(
    "field table|--set Output.FileType=Customize --set Output.Standard=False --set Output.Separator=;|out.txt|eight-bit"
    "web page|--set Output.FileType=Customize --set Output.Standard=False|out.htm|eight-bit"
    "path list|--set Output.FileType=Playlist|out.m3u|eight-bit"
    "PLS playlist|--set Output.FileType=Playlist|out.pls|eight-bit"
    "csv|--format csv|out.csv|csv"
    "m3u8|--format m3u8 --no-tags|out.m3u8|utf-8"
    "jsonl|--format jsonl|out.jsonl|jsonl"
)
for row in "${formats[@]}"; do
    IFS='|' read -r name args file reading <<<"$row"
    # shellcheck disable=SC2086
    run_linux "${same[@]}" $args -o "$work/lin/$file" "$tree" >/dev/null 2>"$work/lin.err" || fail "$name: Linux run ($(cat "$work/lin.err"))"
    # shellcheck disable=SC2086
    run_windows "${same[@]}" $args -o "$(windows_path "$work/win/$file")" "$(windows_path "$tree")" >"$work/win.out" 2>"$work/win.err"
    status=$?
    [[ $status -eq 0 ]] || fail "$name: exit $status ($(cat "$work/win.err" "$work/win.out"))"
    grep -q "^Outputted .* successfully!" "$work/win.out" || fail "$name: no closing message"
    case $reading in
        eight-bit) iconv -f WINDOWS-1252 -t UTF-8 "$work/win/$file" | as_linux_paths >"$work/got" ;;
        utf-8) as_linux_paths <"$work/win/$file" >"$work/got" ;;
        csv) as_linux_paths <"$work/win/$file" | cut -d, -f1-3,8 >"$work/got" ;;
        jsonl) as_linux_paths <"$work/win/$file" | sed -E 's/"(type|modified|created|accessed)":("[^"]*"|null),//g' >"$work/got" ;;
    esac
    case $reading in
        csv) cut -d, -f1-3,8 "$work/lin/$file" >"$work/want" ;;
        jsonl) sed -E 's/"(type|modified|created|accessed)":("[^"]*"|null),//g' "$work/lin/$file" >"$work/want" ;;
        *) cp "$work/lin/$file" "$work/want" ;;
    esac
    if ! cmp -s "$work/want" "$work/got"; then
        fail "$name: the rows differ from the Linux build's"
        diff "$work/want" "$work/got" | head -20 >&2
    fi
done
# The program's own text outputs are in the 8-bit code page: "é" is one byte.
grep -q $'caf\xe9' "$work/win/out.txt" || fail "field table: not in the system's 8-bit code page"
grep -q $'\r$' "$work/win/out.txt" || fail "field table: lines do not end with CR LF"

# The source listing of a folder: names, sizes and tags as on Linux.
run_linux --set Common.Unit=Bytes --show "$tree" | cut -f1,3,8 >"$work/want"
run_windows --set Common.Unit=Bytes --show "$(windows_path "$tree")" | tr -d '\r' | cut -f1,3,8 | as_linux_paths >"$work/got"
cmp -s "$work/want" "$work/got" || {
    fail "--show: the rows differ from the Linux build's"
    diff "$work/want" "$work/got" | head -20 >&2
}

# Without --settings the settings file is "options.dll" beside the program.
(cd "$work/win" && "$here/wine-run.sh" "$work/win/mrb-list.exe" --print-settings >/dev/null 2>&1)
[[ -f $work/win/options.dll ]] || fail "no options.dll beside mrb-list.exe"

# A program folder that cannot be written (immutable, which binds root too):
# the settings go to %APPDATA%\Marrowby, and are read back from there.
mkdir "$work/locked"
cp "$exe" "$work/locked/mrb-list.exe"
chattr +i "$work/locked"
prefix=${WINEPREFIX:-$(cat "$MRB_WINE_PREFIX_FILE")}
appdata=$prefix/drive_c/users/$(id -un)/AppData/Roaming/Marrowby
rm -rf "$appdata"
locked() { (cd "$work" && "$here/wine-run.sh" "$work/locked/mrb-list.exe" --print-settings 2>&1 | tr -d '\r'); }
locked >/dev/null
[[ -f $appdata/options.dll && ! -e $work/locked/options.dll ]] || fail "a locked program folder: no options.dll in %APPDATA%\\Marrowby"
sed -i 's/^Unit=KB/Unit=GB/' "$appdata/options.dll"
locked | grep -qx 'Common.Unit=GB' || fail "a locked program folder: the settings in %APPDATA%\\Marrowby are not read"
rm -rf "$appdata"

# name | expected exit code | text expected on stderr | arguments
codes=(
    "no arguments|2|-o|"
    "unknown option|2|--bogus|--bogus"
    "a folder that is not there|1|no such folder|--show Z:\\nowhere\\at\\all"
    "an output folder that is not there|1|Z:|-o Z:\\nowhere\\at\\all\\x.txt $(windows_path "$tree")"
    "a workbook without a spreadsheet application|1|the spreadsheet application cannot be started|--set Output.FileType=Customize --set Output.Standard=False -o $(windows_path "$work/win/x.xlsx") $(windows_path "$tree")"
    "a catalog|1|not part of this build|catalog list"
    "media tags|2|reads no media tags|--format csv --tags -o $(windows_path "$work/win/t.csv") $(windows_path "$tree")"
)
for row in "${codes[@]}"; do
    IFS='|' read -r name want text args <<<"$row"
    # shellcheck disable=SC2086
    run_windows $args >/dev/null 2>"$work/err"
    status=$?
    [[ $status -eq $want ]] || fail "$name: exit $status, not $want ($(cat "$work/err"))"
    grep -qF -- "$text" "$work/err" || fail "$name: stderr does not say \"$text\": $(cat "$work/err")"
done
[[ ! -e $work/win/x.xlsx ]] || fail "a workbook: a file was written"

echo "$((${#formats[@]} + ${#codes[@]} + 3)) cases, $failed failed"
[[ $failed -eq 0 ]]
