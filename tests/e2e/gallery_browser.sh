#!/usr/bin/env bash
# Three pictures sent from the real program to the gallery as served by site/serve.sh
# (nginx, PHP-FPM), then the gallery opened in headless Chromium: three thumbnails with the
# children's Cyrillic names. The program sends to the address it was built with
# (127.0.0.1:8080 by default), so everything runs in a private network namespace where
# that port is free. PICTARO_E2E_SHOTS=<folder> keeps the screenshots.
set -euo pipefail
if [ -z "${PICTARO_E2E_NETNS:-}" ]; then
    export PICTARO_E2E_NETNS=1
    flags=(--net)
    [ "$(id -u)" -eq 0 ] || flags=(--net --map-root-user)
    exec unshare "${flags[@]}" -- bash "$0" "$@"
fi
ip link set lo up
# The program sends only when some interface besides loopback is up.
ip link add pictaro0 type veth peer name pictaro1 2>/dev/null || ip link add pictaro0 type dummy
ip link set pictaro0 up
ip link set pictaro1 up 2>/dev/null || true

src="$(cd "${2:?source dir}" && pwd)"
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
site_base="$(sed -n 's/^PICTARO_SITE_BASE:STRING=//p' "$(dirname "$1")/CMakeCache.txt" 2>/dev/null || true)"
site_base="${site_base:-http://127.0.0.1:8080}"
port="${site_base##*:}"
[[ "$site_base" == "http://127.0.0.1:"* ]] || { echo "FAIL: the program sends to $site_base, not to this host"; exit 1; }

data=$E2E_TMP/site
# Shown at once: the moderation of a new site has tests of its own (tests/site).
PICTARO_GALLERY_DATA="$data" PICTARO_GALLERY_MODERATION=show "$src/site/serve.sh" "$port" >"$E2E_TMP/site.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do curl -s -o /dev/null "$site_base/" && break; sleep 0.1; done

prog=$E2E_TMP/prog
e2e_program_folder "$prog"
$PY - "$E2E_TMP/grid.bmp" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
im = Image.new('1', (1200, 900), 1)
d = ImageDraw.Draw(im)
for x in range(0, 1201, 150):
    d.line((x, 0, x, 900), fill=0, width=3)
for y in range(0, 901, 150):
    d.line((0, y, 1200, y), fill=0, width=3)
im.save(sys.argv[1])
PYEOF
e2e_make_pak "$prog/pak/grid.pak" "$E2E_TMP/grid.bmp"
e2e_start "$prog"

# Children's works > Send my coloring book: open File, step right past Edit to the next menu,
# and up twice lands on its first item whether or not one was already highlighted.
send() { # <x> <y> <name> <age>
    xdotool mousemove --window "$E2E_WIN" "$1" "$2" click 1
    sleep 0.5
    xdotool mousemove --window "$E2E_WIN" 15 10 click 1
    sleep 0.5
    xdotool key Right
    sleep 0.3
    xdotool key Right
    sleep 0.3
    xdotool key Up Up Return
    sleep 1
    xdotool type --delay 50 "$3"
    xdotool key Return
    sleep 0.7
    xdotool type --delay 50 "$4"
    xdotool key Return
    sleep 2
    [ -n "${PICTARO_E2E_SHOTS:-}" ] && e2e_shot "$PICTARO_E2E_SHOTS/program-$3.png"
    xdotool key Return # the success box
    sleep 0.5
}
send 400 300 "Маша" 4
send 650 420 "Петя" 5
send 900 560 "Даша" 6

fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
page="$(curl -s "$site_base/baby.php")"
[ "$(grep -c '<li>' <<<"$page")" = 3 ] || fail "the gallery lists $(grep -c '<li>' <<<"$page") pictures"
for name in "Маша</bdi><span class=\"age\">, <bdi>4" "Петя</bdi><span class=\"age\">, <bdi>5" "Даша</bdi><span class=\"age\">, <bdi>6"; do
    grep -qF "$name" <<<"$page" || fail "the gallery does not show $name"
done
[ "$(ls "$prog/upload" | wc -l)" = 3 ] || fail "the program did not keep three JPEGs"

shot=$E2E_TMP/gallery.png
chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
    --window-size=900,600 --screenshot="$shot" "$site_base/baby.php" >"$E2E_TMP/chromium.log" 2>&1 ||
    { cat "$E2E_TMP/chromium.log"; fail "Chromium failed"; }
[ -n "${PICTARO_E2E_SHOTS:-}" ] && cp "$shot" "$PICTARO_E2E_SHOTS/gallery.png"
# The browser fetched each thumbnail, and each shows the blue the child filled in.
fetched() { grep -c 'GET /picture.php?f=[A-Za-z0-9]*\.jpg&thumb=1 HTTP/1.1" 200 .*HeadlessChrome' "$data/log/nginx-access.log" || true; }
for _ in $(seq 30); do # nginx writes its access log out once a second
    thumbs="$(fetched)"
    [ "$thumbs" -ge 3 ] && break
    sleep 0.2
done
[ "$thumbs" = 3 ] || fail "Chromium fetched $thumbs thumbnails"
blue="$($PY - "$shot" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
counts = []
for left in (24, 241, 459): # four 200 px columns 1.1em apart, centred in 868 px
    n = 0
    for x in range(left, left + 200):
        for y in range(0, im.height):
            r, g, b = im.getpixel((x, y))
            n += b > 150 and r < 100 and g < 100
    counts.append(n)
print(' '.join(map(str, counts)))
PYEOF
)"
echo "blue pixels in the three thumbnails: $blue"
for n in $blue; do [ "$n" -ge 100 ] || fail "a thumbnail shows no blue ($blue)"; done

if [ "$fails" -ne 0 ]; then
    cat "$E2E_TMP/app.log" "$E2E_TMP/site.log"
    exit 1
fi
echo "3 pictures sent and seen in Chromium"
