#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Keeps the wall around the operating system: only platform/ may include a
# POSIX, Linux or X11 header, and only the window and the library's UI may
# reach Qt's platform-specific interfaces. Names each offending file and
# line. A Windows build replaces platform/ alone only while this holds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Headers of the system, not of the language (<csignal> is C++'s own).
os_headers='unistd\.h|fcntl\.h|dirent\.h|pwd\.h|grp\.h|spawn\.h|signal\.h|poll\.h|termios\.h'
os_headers+='|dlfcn\.h|iconv\.h|langinfo\.h|mntent\.h|fnmatch\.h|glob\.h|wordexp\.h|ftw\.h|libgen\.h'
os_headers+='|sched\.h|pthread\.h|semaphore\.h|syslog\.h|netdb\.h|utime\.h|execinfo\.h|stdio_ext\.h'
os_headers+='|sys/[^>]*|linux/[^>]*|arpa/[^>]*|netinet/[^>]*|xcb/[^>]*|X11/[^>]*|qpa/[^>]*'
# and Win32's, for the Windows build
os_headers+='|windows\.h|win[a-z0-9]*\.h|objbase\.h|ole[a-z0-9]*\.h|oaidl\.h|objidl\.h|unknwn\.h|shl[a-z]*\.h|shellapi\.h'
os_headers+='|commdlg\.h|tlhelp32\.h|psapi\.h|combaseapi\.h|wtypes\.h|rpc[a-z]*\.h'
include_pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*<($os_headers)>"
native_pattern='QNativeInterface|nativeInterface<'

# Where the system may be reached, and why:
allowed=(
    ':!platform' # the wall itself
    ':!tests'    # tests make FIFOs, device nodes, forks and permission cases to test the wall
    ':!fuzz'     # the fuzz drivers map guarded pages around their input
    ':!bench'    # the benchmarks build trees and measure memory with the system's own calls
)
# Qt's platform-specific interfaces, only where a window is handled by its
# native id: the window and the library's UI.
native_allowed=(':!app/window' ':!lib/apifuns' ':!lib/lvheader')

sources=(-- '*.c' '*.cpp' '*.h')
status=0
if found=$(git grep -nE "$include_pattern" "${sources[@]}" "${allowed[@]}"); then
    echo "These files outside platform/ include a header of the operating system (move the use behind platform/):" >&2
    sed 's/^/  /' <<<"$found" >&2
    status=1
fi
if found=$(git grep -nE "$native_pattern" "${sources[@]}" "${allowed[@]}" "${native_allowed[@]}"); then
    echo "These files reach Qt's platform-specific interfaces outside the window and the library's UI:" >&2
    sed 's/^/  /' <<<"$found" >&2
    status=1
fi
[[ $status -eq 0 ]] && echo "Layers: no file outside platform/ reaches the operating system."
exit $status
