#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one test program with a home of its own that is removed afterwards.
set -u
home=$(mktemp -d "${TMPDIR:-/tmp}/dolgomer-test.XXXXXX") || exit 1
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$home" || exit 1
"$@"
rc=$?
chmod -R u+w "$home" 2>/dev/null
rm -rf "$home"
exit $rc
