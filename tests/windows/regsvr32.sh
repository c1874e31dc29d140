#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# regsvr32 in the test prefix, and registration.vbs reading back what it did.
# Usage: regsvr32.sh register|unregister LIBRARY SCRIPTS (Windows paths of the
# library and of this folder).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
action=$1 library=$2 scripts=$3
case "$action" in
    register)
        "$here/wine-run.sh" regsvr32 /s "$library"
        "$here/runscript.sh" "$scripts\\registration.vbs" registered "$library"
        ;;
    unregister)
        "$here/wine-run.sh" regsvr32 /u /s "$library"
        "$here/runscript.sh" "$scripts\\registration.vbs" unregistered
        ;;
    *)
        echo "usage: $0 register|unregister LIBRARY SCRIPTS" >&2
        exit 2
        ;;
esac
