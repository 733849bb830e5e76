#!/usr/bin/env bash
# Pages made elsewhere, at 1920x1080 under a window manager: an anti-aliased PNG and the same
# drawing through JPEG open with File > Open and take a plain and an "up to the lines" fill
# without leaking through their grey edges or leaving a light rim; a picture added with
# File > Add pages... shows on the "My pages" shelf with its picture. PICTARO_SHOTS=<dir>
# keeps the screenshots (the edges enlarged).
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
e2e_boxes_pak "$prog"
shots=${PICTARO_SHOTS:-$E2E_TMP/shots}
mkdir -p "$shots"
menu=22
# Two rings drawn at four times the size and reduced: grey, anti-aliased edges all round.
$PY - "$E2E_TMP" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
s = 4
im = Image.new('L', (900 * s, 600 * s), 255)
d = ImageDraw.Draw(im)
d.ellipse((60 * s, 60 * s, 440 * s, 540 * s), outline=0, width=3 * s)
d.ellipse((480 * s, 100 * s, 840 * s, 500 * s), outline=0, width=2 * s)
im = im.resize((900, 600), Image.LANCZOS)
im.convert('RGB').save(sys.argv[1] + '/rings.png')
im.convert('RGB').save(sys.argv[1] + '/rings.jpg', quality=75)
PYEOF

open_file() { # <path>: File > Open coloring book..., the name typed into the dialog
    xdotool mousemove --window "$E2E_WIN" 15 10 click 1
    sleep 0.5
    xdotool key Down Return
    sleep 1.5
    xdotool type --delay 5 "$1"
    xdotool key Return
    sleep 1.5
}
# Counts, from a shot of the window, the pixels of the inner disc of a ring that are the fill
# colour, near white (a rim or speckle) or anything else; and whether the fill got outside.
measure() { # <shot> <cx> <cy> <r>: prints "filled light other outside"
    $PY - "$@" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB'); cx, cy, r = map(int, sys.argv[2:5])
px = im.load(); filled = light = other = 0
for y in range(cy - r, cy + r):
    for x in range(cx - r, cx + r):
        if (x - cx) ** 2 + (y - cy) ** 2 > r * r: continue
        p = px[x, y]
        if p[2] > 200 and p[0] < 60 and p[1] < 60: filled += 1
        elif min(p) > 200: light += 1
        else: other += 1
outside = px[cx, cy - int(r * 1.9)]
print(filled, light, other, int(outside[2] > 200 and outside[0] < 60))
PYEOF
}
# The bounds of dark ink in the drawing area (grey edges and JPEG noise included).
dark_bounds() {
    import -window "$E2E_WIN" "$E2E_TMP/shot.png"
    $PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('L')
W, H = im.size
px = im.load()
pts = [(x, y) for y in range(140, H - 170, 2) for x in range(140, W - 160, 2) if px[x, y] < 80]
print(min(p[0] for p in pts), min(p[1] for p in pts), max(p[0] for p in pts), max(p[1] for p in pts))
PYEOF
}
enlarge() { # <shot> <x> <y> <name>: a 60-pixel square around x,y, eight times the size
    $PY -c "from PIL import Image; im = Image.open('$1'); im.crop(($2 - 30, $3 - 30, $2 + 30, $3 + 30)).resize((480, 480), Image.NEAREST).save('$shots/$4.png')"
}

# A fill in the middle of a ring: nothing outside it changes, nothing light stays inside.
fill_ring() { # <kind> <fill> <cx> <cy> <r> <edge-x>
    xdotool mousemove --window "$E2E_WIN" "$3" "$4" click 1
    sleep 1
    import -window "$E2E_WIN" "$E2E_TMP/shot.png"
    read -r filled light other outside < <(measure "$E2E_TMP/shot.png" "$3" "$4" "$5")
    echo "$1 $2 fill: filled $filled, light $light, other $other, leaked $outside"
    [ "$outside" -eq 0 ] || { echo "FAIL: the $2 fill ran out of the ring"; exit 1; }
    [ "$light" -le $((filled / 200)) ] || { echo "FAIL: light pixels left inside the ring"; exit 1; }
    cp "$E2E_TMP/shot.png" "$shots/$1-$2.png"
    enlarge "$E2E_TMP/shot.png" "$6" "$4" "$1-$2-edge"
}

e2e_start "$prog"
passed=0
for kind in png jpg; do
    open_file "$E2E_TMP/rings.$kind"
    # The brush, then the fill bucket: a plain fill again.
    xdotool mousemove --window "$E2E_WIN" 69 $((menu + 116 + 70)) click 1
    sleep 0.3
    xdotool mousemove --window "$E2E_WIN" 69 $((menu + 363 + 47)) click 1
    sleep 0.3
    read -r x0 y0 x1 y1 < <(dark_bounds)
    echo "$kind ink: $x0 $y0 $x1 $y1"
    [ $((x1 - x0)) -gt 600 ] || { echo "FAIL: the $kind page did not open"; exit 1; }
    # The left ring's middle, in window coordinates; its inner radius on the screen.
    w=$((x1 - x0)) h=$((y1 - y0))
    cx=$((x0 + w * 190 / 780)) cy=$((y0 + h / 2)) r=$((w * 170 / 780))
    fill_ring "$kind" plain "$cx" "$cy" "$r" $((cx - r))
    # "Up to the lines" in the right ring.
    xdotool mousemove --window "$E2E_WIN" $((135 + 8 + 42)) $((menu + 9 + 42)) click 1
    sleep 0.5
    rx=$((x0 + w * 580 / 780)) rr=$((w * 160 / 780))
    fill_ring "$kind" lines "$rx" "$cy" "$rr" $((rx + rr))
    passed=$((passed + 2))
done

# File > Add pages...: the shelf shows, with the page's picture.
xdotool mousemove --window "$E2E_WIN" 15 10 click 1
sleep 0.5
xdotool key Down Down Return
sleep 1.5
xdotool type --delay 5 "$E2E_TMP/rings.png"
xdotool key Return
sleep 2
e2e_shot "$shots/my-pages.png"
[ -f "$HOME/.local/share/pictaro/pages/rings.png" ] || { echo "FAIL: the page was not added"; exit 1; }
W=$(xwininfo -id "$E2E_WIN" | awk '/Width:/{print $NF}')
shelf=$($PY - "$shots/my-pages.png" "$W" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('L'); W = int(sys.argv[2])
# Dark pixels of pictures in the catalogue's column (rings, boxes): at least two pictures.
print(sum(1 for y in range(60, 700) for x in range(W - 300, W - 200) if im.getpixel((x, y)) < 100))
PYEOF
)
echo "dark pixels of pictures in the catalogue: $shelf"
[ "$shelf" -gt 150 ] || { echo "FAIL: no pictures on the shelves"; exit 1; }
passed=$((passed + 1))
echo "$passed passed, 0 failed"
