#!/usr/bin/env bash
# Fill a box, Ctrl+Z: white again; Ctrl+Y: filled again; fill and the Undo button: white again.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
e2e_boxes_pak "$prog"
e2e_start "$prog"

# The middle of the left box on screen.
read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
bx=$((x0 + (x1 - x0) / 4)) by=$(((y0 + y1) / 2))
expect() { # <what> <pixel>
    local got
    got=$(e2e_pixel "$bx" "$by")
    echo "$1: $got"
    [ "$got" = "$2" ] || { echo "FAIL: $1"; cat "$E2E_TMP/app.log"; exit 1; }
}
blue="(0, 0, 255)" white="(255, 255, 255)"

# The watering can is chosen at the start; its colour is blue.
xdotool mousemove --window "$E2E_WIN" "$bx" "$by" click 1
sleep 0.5
expect "filled" "$blue"
xdotool key --window "$E2E_WIN" ctrl+z
sleep 0.5
expect "after Ctrl+Z" "$white"
xdotool key --window "$E2E_WIN" ctrl+y
sleep 0.5
expect "after Ctrl+Y" "$blue"
xdotool key --window "$E2E_WIN" ctrl+z
sleep 0.3
xdotool key --window "$E2E_WIN" ctrl+shift+z
sleep 0.5
expect "after Ctrl+Z, Ctrl+Shift+Z" "$blue"

# Undo is the first of the three buttons left of the right-hand panel: the right panel is
# 145 wide, the three buttons' panel 273, the button 83 wide and 7 below the strip's top.
eval "$(xdotool getwindowgeometry --shell "$E2E_WIN")"
menu=$($PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
# The options strip's lilac starts under the menu bar.
x = 300
print(next(y for y in range(60) if im.getpixel((x, y)) == (0xf4, 0xf0, 0xfb)))
PYEOF
)
undo_x=$((WIDTH - 145 - 273 + 6 + 41))
undo_y=$((menu + 7 + 45))
xdotool mousemove --window "$E2E_WIN" "$undo_x" "$undo_y" click 1
sleep 0.5
expect "after the Undo button" "$white"
echo "5 passed, 0 failed"
