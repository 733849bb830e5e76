# Shared steps of the end-to-end tests: a private Xvfb, a program folder, the window.
# Source it; call e2e_setup first. Everything started is stopped on exit.
set -euo pipefail
PY=/usr/bin/python3

e2e_setup() { # <pictaro-exe> [screen WxH, default 1920x1080]
    E2E_EXE=$1
    local screen=${2:-1920x1080}
    E2E_TMP=$(mktemp -d /tmp/pictaro-e2e.XXXXXX)
    E2E_PIDS=()
    trap e2e_cleanup EXIT
    export HOME=$E2E_TMP/home XDG_RUNTIME_DIR=$E2E_TMP/run XDG_CACHE_HOME=$E2E_TMP/cache
    mkdir -p "$HOME" "$XDG_CACHE_HOME" && mkdir -m700 "$XDG_RUNTIME_DIR"
    # Xvfb picks a free display itself and reports it once it accepts connections.
    local fdfile=$E2E_TMP/display
    Xvfb -displayfd 9 -noreset -screen 0 "${screen}x24" -nolisten tcp 9>"$fdfile" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    [ -s "$fdfile" ] || { echo "Xvfb did not start"; return 1; }
    E2E_DISPLAY=:$(head -n1 "$fdfile")
    export DISPLAY=$E2E_DISPLAY QT_QPA_PLATFORM=xcb
}

e2e_cleanup() {
    for p in "${E2E_PIDS[@]:-}"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}

# A program folder holding the executable, pak/ and save/.
e2e_program_folder() { # <dir>
    mkdir -p "$1/pak" "$1/save"
    cp "$E2E_EXE" "$1/pictaro"
}

# Writes a page archive from BMP files: name length, name, data length, data.
e2e_make_pak() { # <out.pak> <file.bmp>...
    local out=$1; shift
    $PY - "$out" "$@" <<'PYEOF'
import struct, sys, os
with open(sys.argv[1], 'wb') as f:
    for p in sys.argv[2:]:
        n = os.path.basename(p).encode('cp1251'); d = open(p, 'rb').read()
        f.write(struct.pack('<H', len(n)) + n + struct.pack('<I', len(d)) + d)
PYEOF
}

# Starts the program in <dir> (cwd = dir) and waits for its window; sets E2E_WIN, E2E_APP.
e2e_start() { # <dir>
    (cd "$1" && exec ./pictaro) >"$E2E_TMP/app.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=($E2E_APP)
    E2E_WIN=""
    for _ in $(seq 150); do
        E2E_WIN=$(xdotool search --onlyvisible --name '^Pictaro$' 2>/dev/null | head -n1 || true)
        [ -n "$E2E_WIN" ] && break
        sleep 0.1
    done
    [ -n "$E2E_WIN" ] || { echo "window never appeared"; cat "$E2E_TMP/app.log"; return 1; }
    sleep 1.5 # first page and paint
}

# Asks the window to close, as a window manager's close button does.
e2e_close_request() {
    $PY - "$E2E_WIN" <<'PYEOF'
import sys
from Xlib import display, X, protocol
d = display.Display(); w = d.create_resource_object('window', int(sys.argv[1]))
proto = d.intern_atom('WM_PROTOCOLS'); delete = d.intern_atom('WM_DELETE_WINDOW')
ev = protocol.event.ClientMessage(window=w, client_type=proto, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
w.send_event(ev, event_mask=X.NoEventMask); d.flush()
PYEOF
}

# Waits for the program to end; fails after 15 s.
e2e_wait_exit() {
    for _ in $(seq 150); do kill -0 "$E2E_APP" 2>/dev/null || return 0; sleep 0.1; done
    echo "program did not end"; return 1
}

# File > Exit through the menu with the keyboard.
e2e_menu_exit() {
    xdotool mousemove --window "$E2E_WIN" 15 10 click 1
    sleep 0.5
    xdotool key Up
    sleep 0.2
    xdotool key Return
}

e2e_shot() { import -window root "$1"; }

# Starts openbox on the display, for tests that need a window manager to maximize the window.
e2e_window_manager() {
    openbox --sm-disable >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 50); do
        $PY -c "from Xlib import display; d = display.Display(); r = d.screen().root
import sys; sys.exit(0 if r.get_full_property(d.intern_atom('_NET_SUPPORTING_WM_CHECK'), 0) else 1)" \
            2>/dev/null && return 0
        sleep 0.1
    done
    echo "openbox did not start"; return 1
}

# A page of two outlined boxes side by side, packed as pak/boxes.pak of the program folder.
e2e_boxes_pak() { # <program-dir>
    $PY - "$E2E_TMP/boxes.bmp" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
im = Image.new('1', (800, 400), 1)
d = ImageDraw.Draw(im)
d.rectangle((40, 40, 380, 360), outline=0, width=6)
d.rectangle((420, 40, 760, 360), outline=0, width=6)
im.save(sys.argv[1])
PYEOF
    e2e_make_pak "$1/pak/boxes.pak" "$E2E_TMP/boxes.bmp"
}

# The bounds of the black ink inside the drawing area, from a new shot of the window:
# prints x0 y0 x1 y1.
e2e_ink_bounds() {
    import -window "$E2E_WIN" "$E2E_TMP/shot.png"
    $PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
W, H = im.size
px = im.load()
pts = [(x, y) for y in range(140, H - 170, 2) for x in range(140, W - 160, 2) if px[x, y] == (0, 0, 0)]
print(min(p[0] for p in pts), min(p[1] for p in pts), max(p[0] for p in pts), max(p[1] for p in pts))
PYEOF
}

# The colour of a pixel of the window, from a new shot: "(r, g, b)".
e2e_pixel() { # <x> <y>
    import -window "$E2E_WIN" "$E2E_TMP/shot.png"
    $PY -c "from PIL import Image; print(Image.open('$E2E_TMP/shot.png').convert('RGB').getpixel(($1, $2)))"
}
