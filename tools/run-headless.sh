#!/bin/sh
# Starts the program on a virtual X display when the machine has no display of
# its own, says so, and ends cleanly on Ctrl+C.
prog="$1"
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
stop() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
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
exit $rc
