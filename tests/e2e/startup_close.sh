#!/usr/bin/env bash
# The real program in its own folder: it shows a catalogue page; a close request appends
# one record to stat.dat and writes config.ini; File > Exit writes neither.
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
size() { if [ -e "$1" ]; then stat -c %s "$1"; else echo 0; fi; }
# A history of one earlier run, whose bytes must stay as they are.
$PY -c 'import sys; sys.stdout.buffer.write(bytes(range(68)))' >"$prog/stat.dat"

e2e_start "$prog"
import -window "$E2E_WIN" "$E2E_TMP/shot.png"
black=$($PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
print(sum(1 for p in im.getdata() if p == (0, 0, 0)))
PYEOF
)
echo "black pixels in the window: $black"
[ "$black" -gt 50000 ] || { echo "FAIL: the page is not on the drawing area"; exit 1; }
[ ! -e "$prog/config.ini" ] || { echo "FAIL: config.ini written before close"; exit 1; }

e2e_close_request
e2e_wait_exit
grep -q "Звук" <(iconv -f cp1251 -t utf-8 "$prog/config.ini") || { echo "FAIL: config.ini not written"; exit 1; }
[ "$(size "$prog/stat.dat")" -eq 136 ] || { echo "FAIL: expected 2 records, got $(size "$prog/stat.dat") bytes"; exit 1; }
$PY - "$prog/stat.dat" <<'PYEOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:68] == bytes(range(68)), "the earlier record changed"
rec = data[68:]
assert struct.unpack("<i", rec[:4])[0] == 0
assert 0 < rec[4] <= 20, "no date"
assert rec[25] == 0 and rec[46] == 0, "favorites were not empty"
PYEOF
echo "close request wrote config.ini and one history record"

rm -f "$prog/config.ini"
e2e_start "$prog"
e2e_menu_exit
e2e_wait_exit
[ ! -e "$prog/config.ini" ] || { echo "FAIL: Exit wrote config.ini"; exit 1; }
[ "$(size "$prog/stat.dat")" -eq 136 ] || { echo "FAIL: Exit wrote a record"; exit 1; }
echo "Exit wrote nothing"
echo "2 passed, 0 failed"
