#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the program: on the desktop's display when there is one, else on a
# virtual X display, saying so; Ctrl+C then ends both cleanly. One command for
# make, so an interrupted run ends without a make error.
prog="$1"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then exec "$prog"; fi
runtime=""
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime=$(mktemp -d)
    XDG_RUNTIME_DIR=$runtime
    export XDG_RUNTIME_DIR
fi
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
stop() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    [ -n "$runtime" ] && rm -rf "$runtime"
    echo
    echo "Stopped."
    exit 0
}
trap stop INT TERM
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
echo "No display found: the window runs on the virtual display :$n (Xvfb), which nobody can see."
echo "Press Ctrl+C to end it."
DISPLAY=":$n" "$prog" &
app=$!
wait "$app"
rc=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
[ -n "$runtime" ] && rm -rf "$runtime"
exit $rc
