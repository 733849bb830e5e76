#!/usr/bin/env bash
# The installed program: `cmake --install` into a temporary prefix, then the launcher gives
# the user a program folder of their own (a copy of the executable, pak/ linked to the
# installed pages, save/), keeps it up to date, and the program shows the pages and writes
# its files there, never into the installation. Then the .deb and what it holds.
source "$(dirname "$0")/lib/x11.sh"
e2e_setup "$1"
# One client holds the display for the whole script: when the last one leaves, the server
# resets, and a program starting in that moment is refused (a few times in a hundred).
(exec "$PY" -c 'import time; from Xlib import display; d = display.Display(); time.sleep(3600)') &
E2E_PIDS+=($!)
src=$2
build=$(dirname "$(readlink -f "$1")")
prefix=$E2E_TMP/prefix
passed=0
fail() {
    echo "FAIL: $*"
    [ ! -s "$E2E_TMP/app.log" ] || sed 's/^/  app: /' "$E2E_TMP/app.log"
    exit 1
}
pass() {
    echo "ok: $*"
    passed=$((passed + 1))
}
[ -f "$build/cmake_install.cmake" ] || fail "no build folder beside $1"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/deps.sh --test)"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (scripts/deps.sh --test)"
unset XDG_DATA_HOME

# --- the installed tree
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" || fail "cmake --install"
lib=$(readlink -f "$prefix/lib/pictaro")
[ -x "$prefix/bin/pictaro" ] && [ -x "$lib/pictaro" ] || fail "launcher or executable missing"
[ -d "$lib/pak" ] && [ -d "$lib/save" ] || fail "pak/ or save/ missing from the program folder"
bundled=$(cd "$src" && ls pak/*.pak 2>/dev/null | sort || true)
[ "$(cd "$lib" && ls pak/*.pak 2>/dev/null | sort || true)" = "$bundled" ] || fail "installed pages differ from pak/"
desktop-file-validate --no-hints "$prefix/share/applications/io.github.pictaro.Pictaro.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.pictaro.Pictaro.metainfo.xml" >"$E2E_TMP/metainfo.log" ||
    { cat "$E2E_TMP/metainfo.log"; fail "metainfo"; }
$PY - "$prefix/share/icons/hicolor" <<'PYEOF' || fail "icons"
import sys
from PIL import Image
for size in (256, 48):
    im = Image.open('%s/%dx%d/apps/pictaro.png' % (sys.argv[1], size, size))
    assert im.size == (size, size), im.size
PYEOF
pass "install tree: launcher, program folder, $(echo "$bundled" | grep -c . || true) page archives, desktop entry, metainfo, icons"

if [ -z "$bundled" ]; then
    # No catalogue in the source tree yet: a page of our own in the installed pak/ shows
    # that the user's folder reaches the installed pages all the same.
    $PY - "$E2E_TMP/page.bmp" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
im = Image.new('1', (400, 300), 1)
d = ImageDraw.Draw(im)
for i in range(8):
    d.ellipse((20 + 20 * i, 10 + 15 * i, 380 - 20 * i, 290 - 15 * i), outline=0, width=3)
im.save(sys.argv[1])
PYEOF
    e2e_make_pak "$lib/pak/test.pak" "$E2E_TMP/page.bmp"
    echo "no bundled pages: using a test archive"
fi

tree_state() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort | md5sum); }
installed_state=$(tree_state)

# Pure black pixels in a screenshot of the window: the outlines of a page.
black_on_screen() {
    import -window "$E2E_WIN" "$E2E_TMP/shot.png"
    $PY - "$E2E_TMP/shot.png" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
print(sum(1 for p in im.getdata() if p == (0, 0, 0)))
PYEOF
}

# Starts the launcher through a link from a folder of its own, as a menu or a /usr/games
# link would; the launcher must find its installation and leave that folder alone.
cwd=$E2E_TMP/cwd
mkdir -p "$cwd"
ln -s "$prefix/bin/pictaro" "$cwd/pictaro"
run() { # runs the program until a close request; sets black
    : >"$E2E_TMP/app.log"
    e2e_start "$cwd" || fail "the launcher did not bring up the window"
    black=$(black_on_screen)
    e2e_close_request
    e2e_wait_exit || fail "the program did not end on a close request"
}
nothing_written_outside() { # <user folder>
    [ "$(tree_state)" = "$installed_state" ] || fail "the installed tree changed"
    [ "$(ls -A "$cwd")" = "pictaro" ] || fail "files written in the starting folder: $(ls -A "$cwd")"
}

# --- first run: the user's program folder is made
user=$HOME/.local/share/pictaro
run
first=$black
[ -f "$user/pictaro" ] && [ ! -L "$user/pictaro" ] && cmp -s "$lib/pictaro" "$user/pictaro" ||
    fail "the executable was not copied into $user"
[ -L "$user/pak" ] && [ "$(readlink "$user/pak")" = "$lib/pak" ] || fail "pak/ is not a link to $lib/pak"
[ -d "$user/save" ] || fail "save/ not made"
iconv -f cp1251 -t utf-8 "$user/config.ini" 2>/dev/null | grep -q "Звук" || fail "config.ini not written in $user"
nothing_written_outside
pass "first run: $user made, page on screen ($first black pixels), config.ini written there"

# --- second run, nothing new installed; a relative XDG_DATA_HOME is ignored; a stale pak
# link (the installation moved) is repointed
inode=$(stat -c %i "$user/pictaro")
ln -sfn /nonexistent/pak "$user/pak"
XDG_DATA_HOME=relative/data run
second=$black
[ "$(stat -c %i "$user/pictaro")" = "$inode" ] || fail "an unchanged executable was copied again"
[ "$(readlink "$user/pak")" = "$lib/pak" ] || fail "the stale pak link was not repointed"
[ ! -e "$cwd/relative" ] || fail "a relative XDG_DATA_HOME was used"
nothing_written_outside
pass "second run: copy kept, pak link repointed, page on screen ($second black pixels)"

# --- a new installation: the copy is replaced; a pak folder the user made is kept, and with
# no pages in it the drawing area stays empty
printf '\0' >>"$lib/pictaro"
rm "$user/pak" && mkdir "$user/pak"
installed_state=$(tree_state)
rm -rf "$user/autosave" # else the last run's picture comes back instead of the empty area
run
empty=$black
cmp -s "$lib/pictaro" "$user/pictaro" || fail "the copy was not refreshed"
[ "$(stat -c %i "$user/pictaro")" != "$inode" ] || fail "the copy was rewritten in place, not replaced"
[ -d "$user/pak" ] && [ ! -L "$user/pak" ] || fail "the user's own pak folder was replaced"
for t in "$user"/.pictaro.* "$user"/.pak.*; do [ ! -e "$t" ] || fail "temporary $t left behind"; done
nothing_written_outside
[ "$first" -ge $((empty + 2000)) ] && [ "$second" -ge $((empty + 2000)) ] ||
    fail "no page on screen: $first and $second black pixels, $empty with no pages"
pass "new installation: copy replaced, own pak folder kept ($empty black pixels without pages)"

# --- an absolute XDG_DATA_HOME holds the folder
XDG_DATA_HOME=$E2E_TMP/data run
[ -x "$E2E_TMP/data/pictaro/pictaro" ] && [ -L "$E2E_TMP/data/pictaro/pak" ] ||
    fail "no program folder under XDG_DATA_HOME"
[ -f "$E2E_TMP/data/pictaro/config.ini" ] || fail "config.ini not written under XDG_DATA_HOME"
[ "$black" -ge $((empty + 2000)) ] || fail "no page on screen from XDG_DATA_HOME"
pass "XDG_DATA_HOME: program folder made there, page on screen"

# --- the .deb
pkg=$E2E_TMP/pkg
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$pkg" >"$E2E_TMP/cpack.log" 2>&1 ||
    { cat "$E2E_TMP/cpack.log"; fail "cpack"; }
deb=$(ls "$pkg"/pictaro_*_"$(dpkg --print-architecture)".deb)
[ "$(echo "$deb" | wc -l)" = 1 ] || fail "expected one .deb, got: $deb"
dpkg-deb -c "$deb" | awk '{print $6}' >"$pkg/list"
for f in ./usr/bin/pictaro ./usr/lib/pictaro/pictaro ./usr/lib/pictaro/pak/ ./usr/lib/pictaro/save/ \
    ./usr/share/applications/io.github.pictaro.Pictaro.desktop ./usr/share/metainfo/io.github.pictaro.Pictaro.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/pictaro.png \
    ./usr/share/icons/hicolor/48x48/apps/pictaro.png ${bundled//pak\//./usr/lib/pictaro/pak/}; do
    grep -qxF "$f" "$pkg/list" || fail "$f missing from $(basename "$deb")"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6multimedia6 gstreamer1.0-plugins-good; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
dpkg-deb -x "$deb" "$pkg/root"
desktop-file-validate --no-hints "$pkg/root/usr/share/applications/io.github.pictaro.Pictaro.desktop" || fail "packaged desktop entry"
readelf -S "$pkg/root/usr/lib/pictaro/pictaro" | grep -q '\.symtab' && fail "packaged executable not stripped"
pass "$(basename "$deb") ($(stat -c %s "$deb") bytes) lists the program, $(echo "$bundled" | grep -c . || true) page archives, desktop entry, metainfo, icons"

echo "$passed passed, 0 failed"
