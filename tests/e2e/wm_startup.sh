#!/usr/bin/env bash
# The real program under a window manager (openbox), which maximises the window only after
# its first show: the first page fits the final drawing area with its 20-pixel margins, the
# window class and the dialogs' titles name the program as designed, and a close request sent
# before the window is first mapped ends the program with exactly one history record.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
src=$2
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
# A tall page framed in black: height decides, so the margin is 20 above and below.
$PY - "$E2E_TMP/frame.bmp" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
im = Image.new('1', (400, 600), 1)
ImageDraw.Draw(im).rectangle((0, 0, 399, 599), outline=0, width=3)
im.save(sys.argv[1])
PYEOF
e2e_make_pak "$prog/pak/test.pak" "$E2E_TMP/frame.bmp"
size() { if [ -e "$1" ]; then stat -c %s "$1"; else echo 0; fi; }

# The window manager, on this display only.
openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
E2E_PIDS+=($!)
$PY - <<'PYEOF'
import time
from Xlib import display
d = display.Display(); root = d.screen().root
check = d.intern_atom('_NET_SUPPORTING_WM_CHECK')
for _ in range(100):
    if root.get_full_property(check, 0):
        break
    time.sleep(0.1)
else:
    raise SystemExit("openbox did not start")
PYEOF

# 1. The first page, measured on the screen: the white margin between the page's frame and
# the drawing area's edges, straight above and below the page's middle.
e2e_start "$prog"
sleep 1
import -window "$E2E_WIN" "$E2E_TMP/start.png"
margins=$($PY - "$E2E_TMP/start.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
W, H = im.size
x, mid = (135 + W - 145) // 2, H // 2
px = lambda y: im.getpixel((x, y))
white, black = (255, 255, 255), lambda p: max(p) < 60
def margin(step):
    y = mid
    while 0 <= y < H and px(y) == white:
        y += step
    if not (0 <= y < H) or not black(px(y)):
        return "none"   # the page's edge is not on the screen
    while 0 <= y < H and black(px(y)):
        y += step
    n = 0
    while 0 <= y < H and px(y) == white:
        y += step; n += 1
    return n
print(margin(-1), margin(1))
PYEOF
)
echo "margins above and below the first page: $margins"
[ "$margins" = "20 20" ] || { echo "FAIL: the first page is not laid out at the window's final size"; exit 1; }

# 2. The window class names the program, and the desktop entry says so.
class=$($PY - "$E2E_WIN" <<'PYEOF'
import sys
from Xlib import display
d = display.Display(); w = d.create_resource_object('window', int(sys.argv[1]))
print(" ".join(w.get_wm_class() or ()))
PYEOF
)
echo "window class: $class"
[ "$class" = "pictaro Pictaro" ] || { echo "FAIL: window class is '$class'"; exit 1; }
grep -qx "StartupWMClass=Pictaro" "$src/dist/io.github.pictaro.Pictaro.desktop" || { echo "FAIL: desktop entry lacks StartupWMClass=Pictaro"; exit 1; }

# 3. File > Options...: its title is exactly the designed one, nothing appended.
xdotool mousemove --window "$E2E_WIN" 15 10 click 1
sleep 0.5
for _ in 1 2 3 4 5; do xdotool key Down; sleep 0.1; done
xdotool key Return
opts=""
for _ in $(seq 50); do
    opts=$(xdotool search --onlyvisible --name 'options' 2>/dev/null | head -n1 || true)
    [ -n "$opts" ] && break
    sleep 0.1
done
[ -n "$opts" ] || { echo "FAIL: the options window did not open"; exit 1; }
title=$(xdotool getwindowname "$opts")
echo "options window title: $title"
sleep 0.5
e2e_shot "$E2E_TMP/options.png"
[ -n "${E2E_KEEP_SHOTS:-}" ] && cp "$E2E_TMP/start.png" "$E2E_TMP/options.png" "$E2E_KEEP_SHOTS/"
[ "$title" = "Program options" ] || { echo "FAIL: options window title '$title'"; exit 1; }
xdotool key Escape
sleep 0.5
e2e_close_request
e2e_wait_exit

# 4. A close request as soon as the window exists, before it is mapped.
rm -f "$prog/stat.dat" "$prog/config.ini"
# The watcher listens before the program starts, and answers the window's first name.
$PY - "$E2E_TMP/ready" >"$E2E_TMP/sent" <<'PYEOF' &
import sys, time
from Xlib import display, X, Xatom, protocol
d = display.Display(); root = d.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
d.sync()
open(sys.argv[1], "w").close()
proto = d.intern_atom('WM_PROTOCOLS'); delete = d.intern_atom('WM_DELETE_WINDOW')
netname = d.intern_atom('_NET_WM_NAME'); utf8 = d.intern_atom('UTF8_STRING')
def title(w):
    # The program's main window: Qt's 1 x 1 client-leader window and the splash window
    # (247 x 137) carry the name for a moment too.
    try:
        if w.get_geometry().width < 800:
            return ""
        p = w.get_full_property(netname, utf8)
        return p.value.decode() if p else (w.get_wm_name() or "")
    except Exception:
        return ""
watched = {}
deadline = time.time() + 30
while time.time() < deadline:
    if not d.pending_events():
        for w in list(watched.values()):
            if title(w) == "Pictaro":
                break
        else:
            time.sleep(0.001)
            continue
    else:
        ev = d.next_event()
        if ev.type == X.CreateNotify:
            w = ev.window
            w.change_attributes(event_mask=X.PropertyChangeMask)
            watched[w.id] = w
            continue
        if ev.type != X.PropertyNotify or ev.window.id not in watched:
            continue
        w = ev.window
    if title(w) != "Pictaro":
        continue
    mapped = w.get_attributes().map_state != X.IsUnmapped
    ev = protocol.event.ClientMessage(window=w, client_type=proto,
                                      data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    w.send_event(ev, event_mask=X.NoEventMask); d.flush()
    print("mapped" if mapped else "unmapped")
    break
else:
    print("timeout")
PYEOF
watcher=$!
for _ in $(seq 100); do [ -e "$E2E_TMP/ready" ] && break; sleep 0.1; done
(cd "$prog" && exec ./pictaro) >"$E2E_TMP/app2.log" 2>&1 &
E2E_APP=$!
E2E_PIDS+=($E2E_APP)
wait "$watcher" || true
sent=$(cat "$E2E_TMP/sent")
echo "close request sent while the window was $sent"
[ "$sent" = "unmapped" ] || { echo "FAIL: could not send the close request before the window was mapped"; exit 1; }
e2e_wait_exit || { cat "$E2E_TMP/app2.log"; ls -la "$prog"; xdotool search --name . 2>/dev/null | while read w; do echo "$w $(xdotool getwindowname $w)"; done; exit 1; }
[ "$(size "$prog/stat.dat")" -eq 68 ] || { echo "FAIL: expected one record, got $(size "$prog/stat.dat") bytes"; exit 1; }
grep -q "Звук" <(iconv -f cp1251 -t utf-8 "$prog/config.ini") || { echo "FAIL: config.ini not written"; exit 1; }
echo "a close before the first map ended the program with one record"
echo "4 passed, 0 failed"
