#!/usr/bin/env bash
# Child mode in the real program under a window manager: the window covers the whole screen
# with no title bar, a close request (WM_DELETE_WINDOW) brings the grown-ups' gate and leaves
# the window open, and the catalogue shows pictures of the pages. Screen size: $3 (default
# 1366x768); PICTARO_SHOTS=<dir> keeps the screenshots.
source "$(dirname "$0")/lib/x11.sh"
screen=${3:-1366x768}
e2e_setup "$1" "$screen"
src=$2
W=${screen%x*} H=${screen#*x}
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
cp "$src"/pak/*.pak "$prog/pak/"
mkdir -p "$HOME/.config/Pictaro"
printf '[General]\nchildMode=true\n' >"$HOME/.config/Pictaro/pictaro.ini"
shots=${PICTARO_SHOTS:-$E2E_TMP/shots}
mkdir -p "$shots"
shot() { e2e_shot "$shots/$1-$screen.png"; }
e2e_window_manager
e2e_start "$prog"
sleep 1

# 1. The whole screen, no title bar: the window's client area starts at the screen's corner.
geom=$(xwininfo -id "$E2E_WIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
echo "window: $geom"
[ "$geom" = "0 0 $W $H" ] || { echo "FAIL: the window does not cover the screen"; exit 1; }
shot child-mode

# 2. A close request asks the gate and leaves the window open.
E2E_WIN=$(xdotool search --onlyvisible --name '^Pictaro$' | tail -n1)
echo "windows named Pictaro: $(xdotool search --name '^Pictaro$' | tr '\n' ' ')"
e2e_close_request
gate=""
for _ in $(seq 50); do
    gate=$(xdotool search --onlyvisible --name '^For grown-ups$' 2>/dev/null | head -n1 || true)
    [ -n "$gate" ] && break
    sleep 0.1
done
[ -n "$gate" ] || { echo "FAIL: no gate after the close request"; exit 1; }
sleep 0.5
shot gate
xdotool windowactivate --sync "$gate" key Escape 2>/dev/null || xdotool key Escape
sleep 1
kill -0 "$E2E_APP" 2>/dev/null || { echo "FAIL: the program ended"; exit 1; }
xwininfo -id "$E2E_WIN" | grep -q IsViewable || { echo "FAIL: the window was closed"; exit 1; }

# 3. The catalogue: the shelves show pictures; one touch opens a shelf.
menu=22 # the menu bar's height
folder_x=$((W - 145 + 6 + 10 + 55)) folder_y=$((menu + 90 + 40))
xdotool mousemove "$folder_x" "$folder_y" click 1
sleep 3 # pictures appear as they are made
xdotool mousemove $((W - 300 + 60)) $((menu + 60)) click 1
sleep 1.5
shot catalogue
# Ink in the tree: page pictures are black outlines on white.
dark=$($PY - "$shots/catalogue-$screen.png" "$W" "$H" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('L'); W, H = int(sys.argv[2]), int(sys.argv[3])
box = im.crop((W - 300, 30, W - 150, H - 170))
print(sum(1 for p in box.getdata() if p < 60))
PYEOF
)
echo "dark pixels in the catalogue's pictures: $dark"
[ "$dark" -gt 2000 ] || { echo "FAIL: no page pictures in the catalogue"; exit 1; }

# 4. A chosen colour, pen size and shape, for the eye.
xdotool mousemove $((2 + 259 + 51)) $((H - 156 + 26 + 2 + 58)) click 1
xdotool mousemove 69 $((menu + 116 + 70)) click 1   # brush
sleep 0.5
xdotool mousemove $((135 + 378 + 44)) $((menu + 12 + 40)) click 1 # tiny pen
sleep 0.8
shot pen-and-color
xdotool mousemove 69 $((menu + 5 + 54)) click 1      # shapes
sleep 0.5
xdotool mousemove $((135 + 288 + 45)) $((menu + 11 + 41)) click 1 # line
sleep 0.8
shot shape
echo "child mode: ok"
