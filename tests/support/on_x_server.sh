#!/usr/bin/env bash
# Runs a command on a private X server: starts Xvfb on a display it picks itself (so tests
# that run side by side never share one), points DISPLAY and Qt at it, and stops it afterwards.
#   tests/support/on_x_server.sh COMMAND ARGS...
# The command's exit status is the script's.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "on_x_server: Xvfb is missing (scripts/setup installs it)" >&2; exit 1; }

tmp=$(mktemp -d)
xpid=
cleanup() {
    [[ -n "$xpid" ]] && { kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; }
    rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xpid=$!
for _ in $(seq 200); do
    [[ -s "$tmp/display" ]] && break
    if ! kill -0 "$xpid" 2>/dev/null; then
        echo "on_x_server: Xvfb did not start:" >&2
        cat "$tmp/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
[[ -s "$tmp/display" ]] || { echo "on_x_server: Xvfb gave no display within 10 s" >&2; exit 1; }

export DISPLAY=":$(head -n 1 "$tmp/display")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
status=0
"$@" || status=$?
exit "$status"
