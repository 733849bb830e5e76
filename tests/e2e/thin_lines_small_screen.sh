#!/usr/bin/env bash
# On a 1366x768 screen a big page is reduced about 2.7 times: its 1-pixel outlines (a
# diagonal and a straight one) must stay closed, so a fill stays in the part clicked.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1" 1366x768
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
# A 1500x1125 page, a 1-pixel frame at 40..1459 x 40..1084 cut into three parts by a 1-pixel
# diagonal (x = y + 100) and a 1-pixel vertical line (x = 1301).
$PY - "$E2E_TMP/thin.bmp" <<'PYEOF'
import sys
from PIL import Image
im = Image.new('1', (1500, 1125), 1)
px = im.load()
for x in range(40, 1460):
    px[x, 40] = px[x, 1084] = 0
for y in range(40, 1085):
    px[40, y] = px[1459, y] = px[1301, y] = 0
    px[y + 100, y] = 0
im.save(sys.argv[1])
PYEOF
e2e_make_pak "$prog/pak/thin.pak" "$E2E_TMP/thin.bmp"
e2e_start "$prog"
e2e_shot "$E2E_TMP/before.png"

# Screen points of page points, from where the frame is on screen; prints "x y" per point.
# The frame is the largest black rectangle outline: its corners are found from black rows.
points() { # <shot> <page x> <page y>...
    $PY - "$@" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
W, H = im.size
px = im.load()
def run(y):  # longest run of black pixels in row y
    best = (0, 0, 0); start = None
    for x in range(W + 1):
        black = x < W and px[x, y] == (0, 0, 0)
        if black and start is None: start = x
        if not black and start is not None:
            if x - start > best[0]: best = (x - start, start, x - 1)
            start = None
    return best
rows = [(run(y), y) for y in range(H)]
longest = max(r[0][0] for r in rows)
frame = [(r, y) for r, y in rows if r[0] >= longest - 2]
(_, x0, x1), y0 = frame[0]
y1 = frame[-1][1]
a = sys.argv[2:]
for i in range(0, len(a), 2):
    x, y = int(a[i]), int(a[i + 1])
    print(x0 + (x - 40) * (x1 - x0) // 1419, y0 + (y - 40) * (y1 - y0) // 1044)
PYEOF
}
pixel() { $PY -c "from PIL import Image; print(Image.open('$1').convert('RGB').getpixel(($2, $3)))"; }

mapfile -t pts < <(points "$E2E_TMP/before.png" 200 900 1000 300 1400 560)
read -r ax ay <<<"${pts[0]}"
read -r bx by <<<"${pts[1]}"
read -r cx cy <<<"${pts[2]}"
echo "parts on screen: ($ax,$ay) ($bx,$by) ($cx,$cy)"
for p in "$ax $ay" "$bx $by" "$cx $cy"; do
    [ "$(pixel "$E2E_TMP/before.png" $p)" = "(255, 255, 255)" ] || { echo "FAIL: a part is not white at first"; exit 1; }
done
xdotool mousemove "$ax" "$ay" click 1
sleep 0.5
e2e_shot "$E2E_TMP/after.png"
got=$(pixel "$E2E_TMP/after.png" "$ax" "$ay")
echo "clicked part: $got"
[ "$got" = "(0, 0, 255)" ] || { echo "FAIL: the clicked part is not blue"; exit 1; }
for p in "$bx $by" "$cx $cy"; do
    got=$(pixel "$E2E_TMP/after.png" $p)
    [ "$got" = "(255, 255, 255)" ] || { echo "FAIL: the fill leaked through a thin line to ($p): $got"; exit 1; }
done
[ -n "${E2E_KEEP_SHOT:-}" ] && cp "$E2E_TMP/after.png" "$E2E_KEEP_SHOT"
echo "1 passed, 0 failed"
