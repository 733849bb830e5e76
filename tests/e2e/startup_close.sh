#!/usr/bin/env bash
# The real program in its own folder: it shows a catalogue page, a close request writes
# config.ini, and File > Exit writes nothing.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
$PY - "$E2E_TMP/box.bmp" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
im = Image.new('1', (400, 300), 1)
ImageDraw.Draw(im).rectangle((40, 40, 360, 260), fill=0)
im.save(sys.argv[1])
PYEOF
e2e_make_pak "$prog/pak/test.pak" "$E2E_TMP/box.bmp"

e2e_start "$prog"
import -window "$E2E_WIN" "$E2E_TMP/shot.png"
black=$($PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
print(sum(1 for p in im.getdata() if p == (0, 0, 0)))
PYEOF
)
echo "black pixels on screen: $black"
[ "$black" -gt 50000 ] || { echo "FAIL: the page is not on the drawing area"; exit 1; }
[ ! -e "$prog/config.ini" ] || { echo "FAIL: config.ini written before close"; exit 1; }
e2e_close_request
e2e_wait_exit
grep -q "Звук" <(iconv -f cp1251 -t utf-8 "$prog/config.ini") || { echo "FAIL: config.ini not written"; exit 1; }
echo "close request wrote config.ini"

rm -f "$prog/config.ini"
e2e_start "$prog"
e2e_menu_exit
e2e_wait_exit
[ ! -e "$prog/config.ini" ] || { echo "FAIL: Exit wrote config.ini"; exit 1; }
echo "Exit wrote nothing"
echo "2 passed, 0 failed"
