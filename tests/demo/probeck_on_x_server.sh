#!/usr/bin/env bash
# The real probeck program on a real X server, used as a person uses it: click into the length
# box, type a number, Tab away, switch the unit system with the button and the keyboard, and
# read each box back the way a user copies it (click, Ctrl+A, Ctrl+C; the clipboard read with
# xclip). Nothing inside the program is reached but its windows.
#   tests/support/on_x_server.sh tests/demo/probeck_on_x_server.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in xdotool xclip; do
    command -v "$tool" >/dev/null || { echo "probeck_on_x_server: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

tmp=$(mktemp -d)
pid=
cleanup() {
    [[ -n "$pid" ]] && { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
    rm -rf "$tmp"
}
trap cleanup EXIT

# The program finds the engine through a registry of this run's own.
export KESTRUM_REGISTRY="$tmp/classes.reg"
"$build/bin/kestrum-regsvr" "$build/lib/libkestrum.so" >/dev/null
"$build/bin/probeck" 2>"$tmp/probeck.log" &
pid=$!

fail() {
    echo "probeck_on_x_server: $*" >&2
    cat "$tmp/probeck.log" >&2
    exit 1
}

# Waits for a shown window of that exact title; prints its id.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [[ -n "$id" ]] && { echo "$id"; return; }
        kill -0 "$pid" 2>/dev/null || fail "probeck ended before its window \"$1\" showed"
        sleep 0.1
    done
    fail "no window \"$1\" within 10 s"
}

main=$(window "Dimsafe Edit Test App")
eval "$(xdotool getwindowgeometry --shell "$main")"   # X Y WIDTH HEIGHT of the dialog
[[ "$WIDTH" == 386 && "$HEIGHT" == 171 ]] || fail "the dialog is ${WIDTH}x$HEIGHT, not 386x171"

# Centres of the boxes and the button in the dialog, in pixels (the template's dialog units at
# 6 x 13 base units): length, mass, time, "Unit Systems Dialog".
# The pointer goes to a corner first: "mousemove --sync" to where it already is waits 15 s.
click() { xdotool mousemove 0 0 mousemove --sync $((X + $1)) $((Y + $2)) click 1; }
length=(78 22)
mass=(78 63)
time=(78 106)
unit_systems=(310 22)

# What a box holds as a user gets it out: click into it, select all, copy.
copy() {
    printf 'nothing copied' | xclip -selection clipboard -i
    click "$@"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    local text
    for _ in $(seq 50); do
        text=$(xclip -selection clipboard -o 2>/dev/null || true)
        [[ "$text" != "nothing copied" ]] && break
        sleep 0.05
    done
    printf '%s' "$text"
}

expect() {  # label, expected, actual
    [[ "$2" == "$3" ]] || fail "$1: the box holds \"$3\", expected \"$2\""
    echo "$1: $3"
}

click "${length[@]}"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 '12.5x'   # the x is refused by the box
xdotool key Tab
expect "length after typing 12.5x and Tab" "12.50" "$(copy "${length[@]}")"
expect "mass" "50.126" "$(copy "${mass[@]}")"
expect "time" "33.000" "$(copy "${time[@]}")"

# The unit-system list: SI is the last system; Enter presses its OK. Every box then shows its
# value in SI, the typed length included.
click "${unit_systems[@]}"
systems=$(window "Unit Systems")
# Keys go to the window with the input focus, which the list takes when it is shown.
for _ in $(seq 100); do
    [[ "$(xdotool getwindowfocus 2>/dev/null || true)" == "$systems" ]] && break
    sleep 0.05
done
[[ "$(xdotool getwindowfocus 2>/dev/null || true)" == "$systems" ]] || fail "the Unit Systems list never took the focus"
xdotool key --clearmodifiers End Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Unit Systems$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Unit Systems$' >/dev/null 2>&1 && fail "Enter left the Unit Systems list open ($systems)"
expect "length in SI" "3.81" "$(copy "${length[@]}")"
expect "mass in SI" "22.737" "$(copy "${mass[@]}")"
echo "probeck_on_x_server: passed"
