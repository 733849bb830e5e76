#!/usr/bin/env bash
# Under a window manager: SIGTERM (logout, shutdown) and SIGHUP end the program as its close
# button does, one record and config.ini written, with no dialog even in locked child mode;
# child mode switched on in the Options window locks as that window closes.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1" 1366x768
e2e_window_manager
prog=$E2E_TMP/prog
e2e_program_folder "$prog"
e2e_boxes_pak "$prog"
size() { if [ -e "$1" ]; then stat -c %s "$1"; else echo 0; fi; }
find_window() { # <title regex>: waits up to 5 s
    local w=""
    for _ in $(seq 50); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$w" ] && break
        sleep 0.1
    done
    echo "$w"
}

# 1. SIGTERM: one record, the settings written.
e2e_start "$prog"
kill -TERM "$E2E_APP"
e2e_wait_exit
[ "$(size "$prog/stat.dat")" -eq 68 ] || { echo "FAIL: SIGTERM wrote $(size "$prog/stat.dat") bytes of history"; exit 1; }
[ -s "$prog/config.ini" ] || { echo "FAIL: SIGTERM wrote no config.ini"; exit 1; }
echo "SIGTERM closed as the close button does"

# 2. Child mode ticked in File > Options...: once the Options window closes, a close request
# asks the gate.
e2e_start "$prog"
xdotool mousemove --window "$E2E_WIN" 15 10 click 1
sleep 0.5
xdotool key Down Down Down Down Down Return # Options...
opts=$(find_window '^Program options$')
[ -n "$opts" ] || { echo "FAIL: no Options window"; exit 1; }
sleep 0.5
xdotool mousemove --window "$opts" 30 181 click 1 # "Child mode", the last switch
sleep 1
opts=$(find_window '^Program options$')
xdotool windowactivate --sync "$opts" key Return # Ok, the window's default button
sleep 1.5
grep -q 'childMode=true' "$HOME/.config/Pictaro/pictaro.ini" || { echo "FAIL: child mode not stored"; exit 1; }
E2E_WIN=$(xdotool search --onlyvisible --name '^Pictaro$' | tail -n1)
e2e_close_request
gate=$(find_window '^For grown-ups$')
[ -n "$gate" ] || { echo "FAIL: child mode was left unlocked: no gate"; exit 1; }
xdotool windowactivate --sync "$gate" key Escape 2>/dev/null || xdotool key Escape
sleep 0.5
kill -0 "$E2E_APP" 2>/dev/null || { echo "FAIL: the program ended"; exit 1; }
echo "child mode locked when the Options window closed"

# 3. Locked, then SIGHUP: no gate, the record and settings written.
kill -HUP "$E2E_APP"
e2e_wait_exit
[ "$(size "$prog/stat.dat")" -eq 136 ] || { echo "FAIL: SIGHUP left $(size "$prog/stat.dat") bytes of history"; exit 1; }
echo "SIGHUP closed locked child mode without asking"
echo "3 passed, 0 failed"
