#!/usr/bin/env bash
# A fill survives SIGKILL two seconds later: the next start shows it, on the same page. A cut
# autosave file is passed over and the program starts as usual.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
$PY - "$E2E_TMP" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
for name in ('bear', 'ball'):
    im = Image.new('1', (800, 400), 1)
    d = ImageDraw.Draw(im)
    d.rectangle((40, 40, 380, 360), outline=0, width=6)
    d.rectangle((420, 40, 760, 360), outline=0, width=6)
    im.save(sys.argv[1] + '/' + name + '.bmp')
PYEOF
e2e_make_pak "$prog/pak/boxes.pak" "$E2E_TMP/bear.bmp" "$E2E_TMP/ball.bmp"
save=$HOME/.local/share/pictaro/autosave/autosave.dat

# The left box's middle: a quarter into the black outline's bounds.
locate() {
    local x0 y0 x1 y1
    read -r x0 y0 x1 y1 < <(e2e_ink_bounds)
    echo $((x0 + (x1 - x0) / 4)) $(((y0 + y1) / 2))
}
# The page name stored in the autosave file (after its magic line, a length-prefixed string).
saved_name() {
    $PY - "$save" <<'PYEOF'
import struct, sys
b = open(sys.argv[1], 'rb').read()
i = b.index(b'\n') + 1
n = struct.unpack('>I', b[i:i + 4])[0]
print(b[i + 4:i + 4 + n].decode('utf-8'))
PYEOF
}
kill_app() {
    kill -9 "$E2E_APP"
    wait "$E2E_APP" 2>/dev/null || true
}

e2e_start "$prog"
read -r lx ly < <(locate)
xdotool mousemove --window "$E2E_WIN" "$lx" "$ly" click 1
sleep 2
kill_app
[ -s "$save" ] || { echo "FAIL: no autosave two seconds after the fill"; exit 1; }
name=$(saved_name)
echo "page when killed: $name"

e2e_start "$prog"
got=$(e2e_pixel "$lx" "$ly")
echo "after the restart: $got"
[ "$got" = "(0, 0, 255)" ] || { echo "FAIL: the fill did not come back"; exit 1; }
sleep 1.5 # the restored picture is saved again, with the page the program now has
again=$(saved_name)
[ "$again" = "$name" ] || { echo "FAIL: page $again after the restart, was $name"; exit 1; }
kill_app

size=$(stat -c %s "$save")
truncate -s $((size / 2)) "$save"
# The pages the child colored are kept apart ("My pictures"): without them the start page is
# a fresh one, whatever the cut file held.
rm -rf "$HOME/.local/share/pictaro/pictures"
e2e_start "$prog"
got=$(e2e_pixel "$lx" "$ly")
echo "after a cut autosave: $got"
[ "$got" = "(255, 255, 255)" ] || { echo "FAIL: expected a fresh page"; exit 1; }
kill -0 "$E2E_APP" || { echo "FAIL: the program ended"; exit 1; }
echo "3 passed, 0 failed"
