#!/usr/bin/env bash
# The desktop converter on a real X server, used as a person uses it: the real `morvane` of the
# build tree (engine registered in a registry file of this run's own), mouse clicks on its tab
# bar and keys from xdotool, screenshots with ImageMagick, the result read back through the
# clipboard with xclip. Run by ctest through tests/support/on_x_server.sh:
#   tests/x_server/morvane_on_x_server.sh BUILD_DIR
# What it checks:
#   - Ctrl+Tab walks the seven pages: each page area is painted (not blank) and all seven differ;
#   - clicks along both rows of the tab bar reach all seven pages, each as the keyboard showed it;
#   - on By Expression, "km" to "m" typed and Convert clicked shows 1000, copied with Ctrl+C;
#   - Escape closes the window and the program ends with status 0.
set -euo pipefail
build=$(cd "${1:?usage: morvane_on_x_server.sh BUILD_DIR}" && pwd)
[[ -n "${DISPLAY:-}" ]] || { echo "morvane_on_x_server: no DISPLAY (run it through tests/support/on_x_server.sh)" >&2; exit 1; }
for tool in xdotool import convert compare xclip; do
    command -v "$tool" >/dev/null || { echo "morvane_on_x_server: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

started=$SECONDS
work=$(mktemp -d)
pid=
cleanup() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
    if [[ -n "${KEEP_SHOTS:-}" ]]; then cp "$work"/*.png "$KEEP_SHOTS"/ 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

export KESTRUM_REGISTRY="$work/classes.reg"
"$build/bin/kestrum-regsvr" "$build/lib/libkestrum.so" >/dev/null
"$build/lib/kestrum/morvane" >"$work/morvane.log" 2>&1 &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Morvane Unit Converter - Kestrum$' | head -n 1) ||
    { echo "FAIL: the window did not appear"; cat "$work/morvane.log"; exit 1; }
# No window manager: the input focus is given to the window directly.
xdotool windowfocus --sync "$window"
sleep 0.3

# Known layout, from the page templates: dialog units with the template font's 6 x 13 base
# units, from the page's origin inside the window; the tab bar's two rows above the page.
page_x=13 page_y=61
du_x() { echo $((page_x + ($1 * 6 + 2) / 4)); }
du_y() { echo $((page_y + ($1 * 13 + 4) / 8)); }
far_row_y=23 near_row_y=48
tab_left=14 tab_right=438

# The page area (below the tabs, above OK and Cancel) as a picture.
shot() { import -window "$window" -crop 426x400+14+63 +repage "$1"; }
colours() { convert "$1" -format %k info:; }
differing() { compare -metric AE -fuzz 5% "$1" "$2" null: 2>&1 || true; }
# Pixels that may differ on one page between two visits: the focus frame of a control and a
# selected text (the file name selected is about 3,300). Two pages differ in 15,000 or more.
same_page_limit=6000

# --- the keyboard: Ctrl+Tab through all seven pages --------------------------------------------
names=("Database File" "By Quantity" "By UnitSystem" "By Expression" "Quantity Database" "Unit Database"
       "UnitSystem Database")
shot "$work/page0.png"
for i in 1 2 3 4 5 6; do
    xdotool key --clearmodifiers ctrl+Tab
    sleep 0.2
    shot "$work/page$i.png"
done
for i in 0 1 2 3 4 5 6; do
    n=$(colours "$work/page$i.png")
    (( n >= 16 )) || fail "page ${names[$i]} is blank after Ctrl+Tab ($n colours)"
    for ((j = 0; j < i; j++)); do
        d=$(differing "$work/page$i.png" "$work/page$j.png")
        (( ${d%%.*} > same_page_limit )) || fail "pages ${names[$j]} and ${names[$i]} look the same ($d pixels differ)"
    done
done
xdotool key --clearmodifiers ctrl+Tab
sleep 0.25
shot "$work/round.png"
d=$(differing "$work/round.png" "$work/page0.png")
(( ${d%%.*} <= same_page_limit )) || fail "Ctrl+Tab after the last page does not come back to the first ($d pixels differ)"

# --- the mouse: clicks along the tab bar ---------------------------------------------------------
# A click on the row away from the page brings that row next to it, so clicking the far row at
# each step visits the two rows in turn; the near row is clicked along too.
declare -A reached=()
identify() {
    local best=-1 least=999999999 d
    for i in 0 1 2 3 4 5 6; do
        d=$(differing "$1" "$work/page$i.png")
        d=${d%%.*}
        if (( d < least )); then least=$d; best=$i; fi
        (( least <= same_page_limit )) && break
    done
    if (( least <= same_page_limit )); then echo "$best"; else echo "-1:$least"; fi
}
clicks=0
for ((x = tab_left + 10; x < tab_right; x += 40)); do
    for y in "$far_row_y" "$far_row_y" "$near_row_y"; do
        xdotool mousemove --window "$window" "$x" "$y" click 1
        sleep 0.15
        shot "$work/click.png"
        clicks=$((clicks + 1))
        page=$(identify "$work/click.png")
        if [[ "$page" == -1:* ]]; then
            fail "a click on the tab bar at ($x, $y) shows a page unlike any (${page#-1:} pixels differ)"
            cp "$work/click.png" "${TMPDIR:-/tmp}/morvane_on_x_server_unknown.png"
        else
            reached[$page]=1
        fi
    done
done
(( ${#reached[@]} == 7 )) || fail "$clicks clicks on the tab bar reached ${#reached[@]} of the 7 pages"

# --- a conversion on By Expression, read back as a user copies it -------------------------------
# Back to the first page with the mouse (its tab is the first of the row that holds it), then
# Ctrl+Tab to By Expression.
for _ in 1 2 3 4 5 6 7; do
    shot "$work/now.png"
    [[ "$(identify "$work/now.png")" == 0 ]] && break
    xdotool key --clearmodifiers ctrl+Tab
    sleep 0.2
done
xdotool key --clearmodifiers ctrl+Tab ctrl+Tab ctrl+Tab
sleep 0.3
type_into() {  # dialog units of the box's top-left corner and size, then the text
    xdotool mousemove --window "$window" "$(du_x $(($1 + $3 / 2)))" "$(du_y $(($2 + $4 / 2)))" click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$5"
}
type_into 7 36 112 14 "km"
type_into 169 36 109 14 "m"
xdotool mousemove --window "$window" "$(du_x 144)" "$(du_y 43)" click 1   # Convert
sleep 0.3
read_box() {
    printf '' | xclip -selection clipboard
    xdotool mousemove --window "$window" "$(du_x $(($1 + $3 / 2)))" "$(du_y $(($2 + $4 / 2)))" click 1
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null || true
}
multiply=$(read_box 48 58 95 14)
add=$(read_box 184 58 90 14)
[[ "$multiply" == "1000" ]] || fail "km to m: Multiply By shows '$multiply', not 1000"
[[ "$add" == "0" ]] || fail "km to m: Add shows '$add', not 0"

# --- quit ------------------------------------------------------------------------------------
xdotool key --clearmodifiers Escape
status=
for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        break
    fi
    sleep 0.1
done
if [[ -z "$status" ]]; then
    fail "Escape did not close the window"
else
    pid=
    [[ "$status" == 0 ]] || fail "morvane ended with status $status"
fi

echo "morvane on a real X server: 7 pages by Ctrl+Tab, $clicks clicks on the tab bar reached ${#reached[@]} pages," \
     "km to m gave '$multiply' and '$add', in $((SECONDS - started)) s"
(( failures == 0 )) || { echo "$failures check(s) failed"; cat "$work/morvane.log"; exit 1; }
