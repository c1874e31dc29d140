# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Shell helpers for the tests of an installed Marrowby (sourced, not run).

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# need TOOL PACKAGE: fails, naming the Debian package, when TOOL is missing.
need() {
    command -v "$1" >/dev/null || fail "$1 is missing (Debian package $2; scripts/deps.sh test installs it)"
}

# new_home FOLDER: an empty home folder for the user "nobody".
new_home() {
    mkdir -p "$1/runtime"
    chmod 700 "$1/runtime"
    chown -R nobody:nogroup "$1"
}

# as_user HOME COMMAND...: runs COMMAND as the user "nobody", whose home is
# HOME, with nothing else of ours in its environment.
as_user() {
    local home=$1
    shift
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="$home/runtime" \
        ${DISPLAY:+DISPLAY="$DISPLAY"} \
        ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
        "$@"
}

# check_mrb_list PREFIX WORK: the mrb-list installed in PREFIX, run by a user
# with an empty home who registered nothing, finds the component library
# through the installation's registry store, keeps its settings in the
# user's config folder (written by the library's WriteIni), and lists a
# folder with everything below it. WORK is a scratch folder.
check_mrb_list() {
    local prefix=$1 work=$2
    local home=$work/home-list
    new_home "$home"
    mkdir -p "$work/music/live"
    printf 'x' >"$work/music/a.mp3"
    printf 'y' >"$work/music/live/b.ogg"
    chmod -R a+rX "$work/music"

    local version
    version=$(as_user "$home" "$prefix/bin/mrb-list" --version) || fail "mrb-list --version"
    [[ $version == *"Component library: $prefix/lib/"*"/libQFC_MRB.so (registered in $prefix/share/qfc-registry)" ]] ||
        fail "the installed library is not the one in use: $version"

    local said
    said=$(as_user "$home" "$prefix/bin/mrb-list" --set Common.Sub=True -o "$home/list.m3u" "$work/music") ||
        fail "mrb-list -o: $said"
    [[ $said == "Outputted 3 items to '$home/list.m3u' successfully!" ]] || fail "mrb-list said: $said"
    [[ $(cat "$home/list.m3u") == "$work/music"$'\r\n'"$work/music/a.mp3"$'\r\n'"$work/music/live/b.ogg"$'\r' ]] ||
        fail "the playlist holds: $(cat -A "$home/list.m3u")"

    [[ -s $home/.config/marrowby/options.dll ]] || fail "no settings in $home/.config/marrowby"
    as_user "$home" "$prefix/bin/mrb-list" --print-settings | grep -qx "Output.Path=$home/.config/marrowby/output" ||
        fail "Output.Path is not in the user's config folder"
}
