#!/usr/bin/env bash
# Closing the window appends one record to stat.dat and writes config.ini; leaving through
# File > Exit writes neither.
# Usage: stat_close.sh <pictaro-exe> <source-dir>
# Needs (Debian): xvfb xdotool python3-xlib
set -euo pipefail

exe=$1
py=/usr/bin/python3
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
"$py" -c 'import Xlib' || { echo "missing python3-xlib"; exit 1; }

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

prog=$work/prog
mkdir -p "$prog/pak" "$prog/save" "$work/home" "$work/rt"
chmod 700 "$work/rt"
cp "$exe" "$prog/pictaro"

# One archive with one small page: 2-byte name length, name, 4-byte data length, BMP.
"$py" - "$prog/pak/test.pak" <<'EOF'
import struct, sys
w, h = 40, 30
row = (w * 3 + 3) & ~3
pixels = bytearray()
for y in range(h):
    line = bytearray()
    for x in range(w):
        edge = x in (0, w - 1) or y in (0, h - 1)
        line += b"\x00\x00\x00" if edge else b"\xff\xff\xff"
    pixels += line + b"\x00" * (row - len(line))
bmp = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
bmp += struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels
name = b"box.bmp"
with open(sys.argv[1], "wb") as f:
    f.write(struct.pack("<H", len(name)) + name + struct.pack("<I", len(bmp)) + bmp)
EOF

# A free display of our own.
display=
for n in $(seq 95 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

export DISPLAY=":$display" QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_RUNTIME_DIR="$work/rt"
export XDG_CACHE_HOME="$work/home/.cache" XDG_CONFIG_HOME="$work/home/.config"
unset SESSION_MANAGER

start() {
    (cd "$prog" && exec ./pictaro </dev/null >>"$work/app.log" 2>&1) &
    app_pid=$!
    win=
    for _ in $(seq 150); do
        win=$(xdotool search --onlyvisible --name '^Pictaro$' 2>/dev/null | head -n1 || true)
        [ -n "$win" ] && break
        kill -0 "$app_pid" 2>/dev/null || { echo "program ended early"; cat "$work/app.log"; exit 1; }
        sleep 0.1
    done
    [ -n "$win" ] || { echo "no window"; cat "$work/app.log"; exit 1; }
    sleep 1 # let the first show load its page
}

wait_exit() {
    for _ in $(seq 150); do
        kill -0 "$app_pid" 2>/dev/null || { wait "$app_pid" || true; app_pid=; return 0; }
        sleep 0.1
    done
    echo "program did not end: $1"
    cat "$work/app.log"
    exit 1
}

size() { if [ -e "$1" ]; then stat -c %s "$1"; else echo 0; fi; }

# A history of one earlier run, whose bytes must stay as they are.
"$py" -c 'import sys; sys.stdout.buffer.write(bytes(range(68)))' >"$prog/stat.dat"

# Run 1: a close request, as the window manager sends it.
start
"$py" - "$win" <<'EOF'
import sys
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
w = d.create_resource_object("window", int(sys.argv[1]))
protocols = d.intern_atom("WM_PROTOCOLS")
delete = d.intern_atom("WM_DELETE_WINDOW")
w.send_event(event.ClientMessage(window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])),
             event_mask=X.NoEventMask)
d.flush()
EOF
wait_exit "after the close request"
[ "$(size "$prog/stat.dat")" -eq 136 ] || { echo "expected 2 records, file has $(size "$prog/stat.dat") bytes"; exit 1; }
"$py" - "$prog/stat.dat" <<'EOF' || exit 1
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:68] == bytes(range(68)), "the earlier record changed"
rec = data[68:]
clicks = struct.unpack("<i", rec[:4])[0]
date_len, color_len, book_len = rec[4], rec[25], rec[46]
assert clicks == 0, clicks
assert 0 < date_len <= 20, date_len
assert color_len == 0 and book_len == 0, (color_len, book_len)
EOF
[ -s "$prog/config.ini" ] || { echo "config.ini not written"; exit 1; }

# Run 2: File > Exit writes nothing.
rm "$prog/config.ini"
start
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove --sync $((X + 20)) $((Y + 10)) click 1
sleep 0.5
xdotool key Up Return # the last item of the File menu is Exit
wait_exit "after File > Exit"
[ "$(size "$prog/stat.dat")" -eq 136 ] || { echo "Exit wrote a record"; exit 1; }
[ ! -e "$prog/config.ini" ] || { echo "Exit wrote config.ini"; exit 1; }
echo "ok"
