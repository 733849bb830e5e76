#!/usr/bin/env bash
# With "Outlines stay" (the default) the eraser dragged across a box's side leaves the line,
# and the next fill inside the box stays in it.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
e2e_boxes_pak "$prog"
e2e_start "$prog"

# The outline's bounds on screen: the left box's right side, the gap's middle, the box's
# middle row.
read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
side=$((x0 + (x1 - x0) * 340 / 720)) gap=$(((x0 + x1) / 2)) cy=$(((y0 + y1) / 2))
line_black() { # how many of the side's pixels on the middle row are still black
    $PY -c "
from PIL import Image
im = Image.open('$E2E_TMP/shot.png').convert('RGB')
print(sum(im.getpixel((x, $cy)) == (0, 0, 0) for x in range($side - 6, $side + 8)))"
}

# The eraser is the third picture button of the left panel.
xdotool mousemove --window "$E2E_WIN" 69 340 click 1
sleep 0.3
xdotool mousemove --window "$E2E_WIN" $((side - 40)) "$cy" mousedown 1
for dx in 10 20 30 40 50; do
    xdotool mousemove --window "$E2E_WIN" $((side - 40 + dx)) "$cy"
    sleep 0.05
done
xdotool mouseup 1
sleep 0.5
import -window "$E2E_WIN" "$E2E_TMP/shot.png"
n=$(line_black)
echo "side pixels still black after the eraser: $n"
[ "$n" -ge 5 ] || { echo "FAIL: the eraser opened the line"; exit 1; }

# The watering can is the fourth; fill inside the left box.
xdotool mousemove --window "$E2E_WIN" 69 440 click 1
sleep 0.3
xdotool mousemove --window "$E2E_WIN" $((side - 80)) "$cy" click 1
sleep 0.5
inside=$(e2e_pixel $((side - 80)) "$cy")
outside=$(e2e_pixel "$gap" "$cy")
echo "inside $inside, in the gap $outside"
[ "$inside" = "(0, 0, 255)" ] || { echo "FAIL: the box was not filled"; exit 1; }
[ "$outside" = "(255, 255, 255)" ] || { echo "FAIL: the fill ran out of the box"; exit 1; }
echo "2 passed, 0 failed"
