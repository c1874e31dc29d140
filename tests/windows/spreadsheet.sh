#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# A workbook made by mrb-list.exe through the spreadsheet application: the
# recording stand-in (recordingserver.cpp) is registered as
# Excel.Application while the cases run, and each case's recorded calls must
# be the writer's sequence, with the cells of the field table that the same
# settings give; the workbook appears under the chosen name. Then, with
# nothing registered, an existing file stays as it was.
# Usage: spreadsheet.sh MRB-LIST.EXE RECORDING-SERVER.DLL
set -uo pipefail
exe=$1 server=$(realpath "$2")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/mrb-workbook-wine.XXXXXX")
clsid='{6A1C4F1E-2B57-4E0C-9D3A-7C1B2E5F8A90}'
reg() { "$here/wine-run.sh" reg "$@" >/dev/null 2>&1; }
unregister() {
    reg delete 'HKCR\Excel.Application' /f
    reg delete "HKCR\\CLSID\\$clsid" /f
}
trap 'unregister; rm -rf "$work"' EXIT
export LANG=C.UTF-8 LC_ALL=C.UTF-8

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
mkdir -p "$work/tree"
printf 'hello' >"$work/tree/a.txt"
printf '1234567890' >"$work/tree/b.dat"
cp "$exe" "$work/mrb-list.exe"
run() {
    (cd "$work" && "$here/wine-run.sh" "$work/mrb-list.exe" --settings "$(windows_path "$work/options.dll")" \
        --set Output.FileType=Customize --set Output.Standard=False "$@" \
        "$(windows_path "$work/tree/a.txt")" "$(windows_path "$work/tree/b.dat")")
}

failed=0
fail() {
    echo "FAIL: $1" >&2
    failed=$((failed + 1))
}

reg add 'HKCR\Excel.Application\CLSID' /ve /d "$clsid" /f
reg add "HKCR\\CLSID\\$clsid\\InprocServer32" /ve /d "$(windows_path "$server")" /f
reg add "HKCR\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Apartment /f

off=(--set Common.Path=False --set Common.Size=False --set Common.Type=False --set Common.Modified=False
    --set Common.Created=False --set Common.Accessed=False)
# name | header | settings
cases=(
    "header on, the path only|True|${off[*]} --set Common.Path=True"
    "header off|False|${off[*]} --set Common.Path=True --set Common.Size=True"
    "all seven fields|True|"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name header settings <<<"$row"
    rm -f "$work/log" "$work/out.xls" "$work/out.txt"
    # The cells are the field table's, written with the same settings.
    # shellcheck disable=SC2086
    run --set Output.Header="$header" $settings -o "$(windows_path "$work/out.txt")" >/dev/null 2>&1
    {
        echo create
        echo app.Workbooks.Add
        r=0
        while IFS=$'\t' read -r -a fields; do
            r=$((r + 1))
            for c in "${!fields[@]}"; do
                echo "app.Worksheets(1).Cells($r,$((c + 1))) = \"${fields[c]}\""
            done
        done < <(iconv -f WINDOWS-1252 -t UTF-8 "$work/out.txt" | tr -d '\r')
        if [[ $header == True ]]; then
            echo 'app.Worksheets(1).Rows("1:1").HorizontalAlignment = -4108'
            echo 'app.Worksheets(1).Rows("1:1").VerticalAlignment = -4108'
            echo 'app.Worksheets(1).Rows("1:1").Font.Bold = True'
        fi
        echo 'app.Cells.Font.Name = "Courier New"'
        echo 'app.Cells.Font.Size = 9'
        echo 'app.Worksheets(1).Columns("A:G").EntireColumn.AutoFit'
        echo 'app.ActiveWorkbook.SaveAs(SCRATCH)'
        echo app.Quit
        echo release
    } >"$work/want"
    # shellcheck disable=SC2086
    MRB_RECORDING_LOG=$(windows_path "$work/log") run --set Output.Header="$header" $settings \
        -o "$(windows_path "$work/out.xls")" >"$work/stdout" 2>"$work/stderr"
    status=$?
    [[ $status -eq 0 ]] || fail "$name: exit $status ($(cat "$work/stderr"))"
    grep -q "^Outputted 2 items to .* successfully!" "$work/stdout" || fail "$name: no closing message"
    # Saved under a scratch name beside the chosen one, with its extension.
    saved="app.ActiveWorkbook.SaveAs(\"$(windows_path "$work")\\.out.xls."
    tag='[A-Za-z0-9][A-Za-z0-9][A-Za-z0-9][A-Za-z0-9][A-Za-z0-9][A-Za-z0-9]'
    while IFS= read -r line; do
        # shellcheck disable=SC2053
        [[ $line == "$saved"$tag'.xls")' ]] && line='app.ActiveWorkbook.SaveAs(SCRATCH)'
        printf '%s\n' "$line"
    done <"$work/log" >"$work/got"
    cmp -s "$work/want" "$work/got" || {
        fail "$name: the calls differ from the writer's sequence"
        diff "$work/want" "$work/got" | head -20 >&2
    }
    [[ $(cat "$work/out.xls" 2>/dev/null) == "recorded workbook" ]] || fail "$name: no workbook under the chosen name"
    compgen -G "$work/.out.xls.*" >/dev/null && fail "$name: the scratch file was left behind"
done

# Not registered: the existing file stays, the reason is said, exit 1.
unregister
printf 'keep' >"$work/out.xls"
run -o "$(windows_path "$work/out.xls")" >/dev/null 2>"$work/stderr"
status=$?
[[ $status -eq 1 ]] || fail "not registered: exit $status, not 1"
grep -q "the spreadsheet application cannot be started" "$work/stderr" || fail "not registered: $(cat "$work/stderr")"
[[ $(cat "$work/out.xls") == keep ]] || fail "not registered: the existing file changed"

echo "$((${#cases[@]} + 1)) cases, $failed failed"
[[ $failed -eq 0 ]]
