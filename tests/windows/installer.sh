#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# The installer's round trip in the test prefix: Marrowby-Setup.exe /S
# installs and registers QFC_MRB.dll (a script can create its classes), the
# uninstaller /S unregisters and removes it (no script can any more).
# Usage: installer.sh SETUP SCRIPTS (the Windows paths of the installer and
# of this folder).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run=$here/wine-run.sh
setup=$1 scripts=$2
folder='C:\Program Files\Marrowby'

"$run" "$setup" /S
"$here/runscript.sh" "$scripts\\registration.vbs" registered "$folder\\QFC_MRB.dll"
"$run" cmd /c if exist "$folder\\Uninstall.exe" echo the uninstaller is in place

# _?= runs the uninstaller where it lies and waits for it; by itself it would
# hand over to a copy of itself and return at once.
"$run" "$folder\\Uninstall.exe" /S "_?=$folder"
"$here/runscript.sh" "$scripts\\registration.vbs" unregistered
"$run" cmd /c if exist "$folder\\QFC_MRB.dll" exit 1
echo "installed, registered, unregistered and removed"
