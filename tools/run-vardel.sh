#!/bin/sh
# Starts Vardel, or says plainly why it cannot show a window.
prog="$1"; shift
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ] && [ -z "$QT_QPA_PLATFORM" ]; then
    echo "Vardel is a desktop program and needs a display, but none is set (DISPLAY/WAYLAND_DISPLAY are empty)." >&2
    echo "Run it from a desktop session, or under a virtual display: xvfb-run make run" >&2
    exit 1
fi
exec "$prog" "$@"
