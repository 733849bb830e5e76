#!/usr/bin/env bash
# At 1366x768 under a window manager: two pages colored one after the other, then SIGKILL.
# The next start shows the current one as it was, both are kept in the pictures store and on
# the "My pictures" shelf, and the first comes back colored when Random returns to it.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1" 1366x768
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
$PY - "$E2E_TMP" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
for name, inset in (('bear', 40), ('ball', 60)):
    im = Image.new('1', (800, 400), 1)
    d = ImageDraw.Draw(im)
    d.rectangle((inset, inset, 380, 400 - inset), outline=0, width=6)
    d.rectangle((420, inset, 760, 400 - inset), outline=0, width=6)
    im.save(sys.argv[1] + '/' + name + '.bmp')
PYEOF
e2e_make_pak "$prog/pak/boxes.pak" "$E2E_TMP/bear.bmp" "$E2E_TMP/ball.bmp"
store=$HOME/.local/share/pictaro/pictures
H=768 menu=22

locate() { # the left box's middle
    local x0 y0 x1 y1
    read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
    echo $((x0 + (x1 - x0) / 4)) $(((y0 + y1) / 2))
}
random_page() { # the Random button on the palette's tab
    xdotool mousemove --window "$E2E_WIN" 65 $((H - 70)) click 1
    sleep 1.5
}
kill_app() {
    kill -9 "$E2E_APP"
    wait "$E2E_APP" 2>/dev/null || true
}
kept() { find "$store" -name '*.pic' 2>/dev/null | wc -l; }

e2e_start "$prog"
read -r lx ly < <(locate)
xdotool mousemove --window "$E2E_WIN" "$lx" "$ly" click 1
sleep 0.5
first=$(e2e_pixel "$lx" "$ly")
random_page
read -r mx my < <(locate)
[ "$(e2e_pixel "$mx" "$my")" = "(255, 255, 255)" ] || { echo "FAIL: the other page is not blank"; exit 1; }
xdotool mousemove --window "$E2E_WIN" $((mx + 10)) "$my" click 1
sleep 2
kill_app
echo "first page's fill: $first; pictures kept before the kill: $(kept)"

e2e_start "$prog"
got=$(e2e_pixel $((mx + 10)) "$my")
echo "after the restart: $got"
[ "$got" = "(0, 0, 255)" ] || { echo "FAIL: the current picture did not come back"; exit 1; }
sleep 1
n=$(kept)
echo "pictures kept: $n"
[ "$n" -ge 2 ] || { echo "FAIL: expected both pictures in the store"; exit 1; }
# The catalogue, with "My pictures" on top.
xdotool mousemove --window "$E2E_WIN" $((1366 - 145 + 6 + 10 + 55)) $((menu + 90 + 40)) click 1
sleep 1.5
e2e_shot "$E2E_TMP/my-pictures-1366.png"
[ -n "${E2E_SHOTS:-}" ] && cp "$E2E_TMP/my-pictures-1366.png" "$E2E_SHOTS/"
xdotool mousemove --window "$E2E_WIN" 500 400 # back on the page: the panel closes
sleep 1
random_page
got=$(e2e_pixel "$lx" "$ly")
echo "the first page again: $got"
[ "$got" = "$first" ] || { echo "FAIL: the first page came back without its coloring"; exit 1; }
echo "3 passed, 0 failed"
