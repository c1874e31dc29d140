#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and uses it as a user would:
# the desktop files validate, the manual page shows every option of --help,
# bash completes, mrb-list works for a user who registered nothing, settings
# stay out of the binary folder, and the window starts on a virtual display
# (its screenshot goes to OUTPUT_FOLDER).
# Usage: installtree_test.sh BUILD_FOLDER SOURCE_FOLDER OUTPUT_FOLDER
set -euo pipefail
build=$1 source=$2 output=$3
source "$source/tests/support/installed.sh"
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need xvfb-run xvfb
need xdotool xdotool
need import imagemagick
[[ -f /usr/share/bash-completion/bash_completion ]] || fail "bash-completion is missing"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix
# under umask 000, as the shell of a careless installer may have it: nothing
# installed may be changed by anyone but its owner
(umask 000 && cmake --install "$build" --prefix "$prefix") >"$work/install.log" ||
    fail "cmake --install: $(cat "$work/install.log")"
writable=$(find "$prefix" ! -type l -perm /022)
[[ -z $writable ]] || fail "writable by others after an install under umask 000: $writable"
# every file the install wrote is in its manifest, the registry store's too,
# so an uninstall by the manifest leaves nothing behind
while IFS= read -r file; do
    grep -qxF "$file" "$build/install_manifest.txt" || fail "install_manifest.txt lacks $file"
done < <(find "$prefix" ! -type d)

desktop-file-validate "$prefix/share/applications/marrowby.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/"*.metainfo.xml >"$work/appstream.log" ||
    fail "appstreamcli validate: $(cat "$work/appstream.log")"

# every option --help names is in the manual page
manual=$(MANWIDTH=200 man -l "$prefix/share/man/man1/mrb-list.1.gz" 2>/dev/null)
for option in $("$prefix/bin/mrb-list" --help | grep -o '^  -[-a-z]*\(, --[a-z-]*\)\?' | tr -d ','); do
    grep -q -- "$option" <<<"$manual" || fail "man mrb-list lacks $option"
done
man -l "$prefix/share/man/man1/mrb.1.gz" >/dev/null 2>&1 || fail "man mrb"

# bash completes options and setting names from the installed program
completions=$(bash -c '
    prefix=$1
    source /usr/share/bash-completion/bash_completion
    source "$prefix/share/bash-completion/completions/mrb-list"
    compopt() { :; }
    complete_line() {
        COMP_WORDS=(mrb-list "$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}; COMPREPLY=()
        _mrb_list "$prefix/bin/mrb-list" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        echo "${COMPREPLY[*]}"
    }
    complete_line --se
    complete_line --set Common.It
' _ "$prefix")
[[ $completions == $'--settings --set\nCommon.Item=' ]] || fail "bash completion gave: $completions"

check_mrb_list "$prefix" "$work"

# run by root, whose binary folder is writable, an installed copy still
# keeps its settings in the config folder
settings=$(XDG_CONFIG_HOME=$work/root-config "$prefix/bin/mrb-list" --print-settings)
grep -qx "Output.Path=$work/root-config/marrowby/output" <<<"$settings" || fail "root's Output.Path: $settings"
[[ ! -e $prefix/bin/options.dll ]] || fail "options.dll was written beside the programs"

# the window, started by a user with an empty home: it comes up without the
# message that the component library is missing (which would be a second
# window of the same title)
home=$work/home-window
new_home "$home"
mkdir -p "$output"
xvfb-run -a -s "-ac -screen 0 1280x1024x24" bash -c '
    source "$1/tests/support/installed.sh"
    as_user "$3" "$2/bin/mrb" >"$3/mrb.log" 2>&1 &
    program=$!
    timeout 30 xdotool search --sync --onlyvisible --name "^Marrowby\$" >/dev/null || fail "no window appeared"
    sleep 2
    windows=$(xdotool search --onlyvisible --name "^Marrowby\$" | wc -l)
    import -window root "$4/mrb-installed.png"
    kill "$program"
    wait "$program" || true
    [[ $windows == 1 ]] || fail "$windows windows named Marrowby: $(cat "$3/mrb.log")"
' _ "$source" "$prefix" "$home" "$output"
[[ -s $home/.config/marrowby/options.dll ]] || fail "the window wrote no settings in $home/.config/marrowby"
echo "installed tree works; screenshot in $output/mrb-installed.png"
