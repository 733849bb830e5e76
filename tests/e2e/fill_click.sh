#!/usr/bin/env bash
# A child's first clicks in the real program: a click inside an outlined part of a catalogue
# page paints it blue, and after choosing a texture a click fills the other part with it.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
e2e_boxes_pak "$prog"
e2e_start "$prog"

# Where the two boxes are on screen: the black outline's bounds inside the drawing area.
locate() {
    local x0 y0 x1 y1
    read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
    echo $((x0 + (x1 - x0) / 4)) $(((y0 + y1) / 2)) $((x0 + 3 * (x1 - x0) / 4)) $(((y0 + y1) / 2))
}
pixel() { $PY -c "from PIL import Image; print(Image.open('$E2E_TMP/shot.png').convert('RGB').getpixel(($1, $2)))"; }

read -r lx ly rx ry < <(locate)
xdotool mousemove --window "$E2E_WIN" "$lx" "$ly" click 1
sleep 0.5
import -window "$E2E_WIN" "$E2E_TMP/shot.png"
got=$(pixel "$lx" "$ly")
echo "left box after a click: $got"
[ "$got" = "(0, 0, 255)" ] || { echo "FAIL: the region is not blue"; exit 1; }
right=$(pixel "$rx" "$ry")
[ "$right" = "(255, 255, 255)" ] || { echo "FAIL: the fill leaked into the other box: $right"; exit 1; }

# The first texture box (bricks): Panel_left is 135 wide, the strip's frame starts 164 into
# the option bar and 11 below its top.
bx=$((135 + 164 + 40))
by=$((11 + 40))
# The option bar starts under the menu bar: find it as the first row of the strip's colour.
import -window "$E2E_WIN" "$E2E_TMP/shot.png"
top=$($PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
for y in range(0, 80):
    if im.getpixel((700, y)) == (0xf4, 0xf0, 0xfb):
        print(y); break
else:
    print(24)
PYEOF
)
xdotool mousemove --window "$E2E_WIN" "$bx" $((top + by)) click 1
sleep 0.3
xdotool mousemove --window "$E2E_WIN" "$rx" "$ry" click 1
sleep 0.5
import -window "$E2E_WIN" "$E2E_TMP/shot.png"
colors=$($PY - "$E2E_TMP/shot.png" "$rx" "$ry" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
x, y = int(sys.argv[2]), int(sys.argv[3])
print(len({im.getpixel((x + dx, y + dy)) for dx in range(-20, 20) for dy in range(-20, 20)}))
PYEOF
)
echo "distinct colours in the textured box: $colors"
[ "$colors" -ge 3 ] || { echo "FAIL: no texture in the second box"; exit 1; }
[ "$(pixel "$rx" "$ry")" != "(255, 255, 255)" ] || { echo "FAIL: the second box stayed white"; exit 1; }
echo "2 passed, 0 failed"
