#!/usr/bin/env bash
# At 1366x768 under a window manager: a page nobody touched is not kept between runs, so a
# repaired archive shows its drawing at the next start; a page picked in the catalogue takes
# paint over the whole drawing area once the panel is closed with its own button.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1" 1366x768
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
save=$HOME/.local/share/pictaro/autosave/autosave.dat
W=1366 menu=22

# 1. A cut-off archive shows the white sheet; nothing touches it; the close keeps nothing.
$PY -c "from PIL import Image; Image.new('1', (800, 400), 1).save('$E2E_TMP/boxes.bmp')"
e2e_make_pak "$prog/pak/boxes.pak" "$E2E_TMP/boxes.bmp"
e2e_start "$prog"
sleep 1.5 # an autosave would be written by now
e2e_close_request
e2e_wait_exit
[ ! -e "$save" ] || { echo "FAIL: the untouched white sheet was kept"; exit 1; }
echo "untouched page not kept"

# The archive repaired (its old cached page goes too): the drawing shows.
rm -rf "$XDG_CACHE_HOME/pictaro"
e2e_boxes_pak "$prog"
e2e_start "$prog"
read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
echo "ink after the repair: $x0 $y0 $x1 $y1"
[ $((x1 - x0)) -gt 300 ] || { echo "FAIL: the repaired drawing is not shown"; exit 1; }
echo "repaired drawing shown"

# 2. Catalogue open, the page picked, "Coloring book" pressed again, back on the page (the
# panel closes), then a fill at the far right of the area, where the narrow layout ended.
folder_x=$((W - 145 + 6 + 10 + 55)) folder_y=$((menu + 90 + 40))
xdotool mousemove --window "$E2E_WIN" "$folder_x" "$folder_y" click 1
sleep 2
xdotool mousemove --window "$E2E_WIN" $((W - 300 + 60)) $((menu + 60)) click 1 # the shelf
sleep 1
xdotool mousemove --window "$E2E_WIN" $((W - 120)) $((menu + 145)) click 1 # its page
sleep 1
xdotool mousemove --window "$E2E_WIN" "$folder_x" "$folder_y" click 1
sleep 1
xdotool mousemove --window "$E2E_WIN" 500 400 # back on the page: the panel closes
sleep 1
fx=$((W - 145 - 12)) fy=$((768 - 200))
xdotool mousemove --window "$E2E_WIN" "$fx" "$fy" click 1
sleep 1
e2e_shot "$E2E_TMP/after-fill.png"
got=$(e2e_pixel "$fx" "$fy")
echo "far right after the fill: $got"
[ "$got" = "(0, 0, 255)" ] || { echo "FAIL: the right strip took no paint"; exit 1; }
read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
echo "ink after closing the panel: $x0 $y0 $x1 $y1"
[ "$x1" -gt $((W - 145 - 300)) ] || { echo "FAIL: the page kept the narrow layout"; exit 1; }
echo "3 passed, 0 failed"
