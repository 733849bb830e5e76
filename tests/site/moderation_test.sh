#!/usr/bin/env bash
# The gallery as a new site starts it (site/serve.sh, pictures held for a moderator): the
# program's requests get the answers they always got, a held picture shows nowhere until
# approved on /moderate, which wants its password and its form's token; then the pages in
# headless Chromium at a phone's and a desktop's size: captions of long, accented and
# right-to-left names stay in their boxes. PICTARO_SITE_SHOTS=<folder> keeps screenshots.
# Usage: moderation_test.sh <source-dir>
set -euo pipefail
src="$(cd "${1:?source dir}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
data="$work/data"
source "$here/lib.sh"
port="$(free_port)"
base="http://127.0.0.1:$port"
password="crayons-and-$(head -c 6 /dev/urandom | od -An -tx1 | tr -d ' \n')"
fails=0

server=""
cleanup() {
    [ -n "$server" ] && { kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
}

PICTARO_GALLERY_MODERATION=bogus PICTARO_GALLERY_DATA="$data" "$src/site/serve.sh" "$port" >"$work/bogus.log" 2>&1 &&
    fail "serve.sh started with moderation 'bogus'"
unset PICTARO_GALLERY_MODERATION PICTARO_GALLERY_DSN
PICTARO_GALLERY_DATA="$data" PICTARO_GALLERY_MODERATOR_PASSWORD="$password" PICTARO_GALLERY_WORKERS=2 \
    "$src/site/serve.sh" "$port" >"$work/server.log" 2>&1 &
server=$!
wait_for_site "$base" || { cat "$work/server.log"; exit 1; }

# request <curl args...>: the status; the body in $work/body, the headers in $work/head.
request() { curl -s --interface "${FROM:-127.0.0.1}" -D "$work/head" -o "$work/body" -w '%{http_code}' "$@"; }
expect() { # <status> <curl args...>
    local want="$1" got
    shift
    got="$(request "$@")"
    [ "$got" = "$want" ] || fail "expected $want, got $got for: $* ($(head -c 200 "$work/body"))"
}
send() { # <file name> <child> <age> <picture>: the program's two requests, each answered 200 OK
    expect 200 -G "$base/write_image.php" --data-urlencode "filename=$1" --data-urlencode "rebenok=$2" \
        --data-urlencode "vozrast=$3"
    [ "$(cat "$work/body")" = OK ] || fail "announce of $1 answered: $(cat "$work/body")"
    expect 200 -F "filename=@$4;filename=$1;type=image/jpeg" "$base/get_image.php"
    [ "$(cat "$work/body")" = OK ] || fail "upload of $1 answered: $(cat "$work/body")"
}
moderator=(-u "moderator:$password")
token() { # the one on the moderator's page, in any list that has a picture and so a form
    local list
    for list in held shown hidden; do
        request "${moderator[@]}" "$base/moderate?show=$list" >/dev/null
        grep -o 'name="token" value="[0-9a-f]*"' "$work/body" | head -1 | sed 's/.*value="//; s/"//' | grep . && return
    done
}
act() { # <status> <action> <file name> [token]
    expect "$1" "${moderator[@]}" --data-urlencode "token=${4-$(token)}" \
        --data-urlencode "f=$3" --data-urlencode "action=$2" "$base/moderate"
}
shown() { # <file name>: on the gallery, its page and its picture
    [ "$(request "$base/baby.php")" = 200 ] && grep -q "f=$1" "$work/body" &&
        [ "$(request "$base/view.php?f=$1")" = 200 ] && [ "$(request "$base/picture.php?f=$1&thumb=1")" = 200 ]
}
hidden() { # <file name>: on none of them
    [ "$(request "$base/baby.php")" = 200 ] && ! grep -q "f=$1" "$work/body" &&
        [ "$(request "$base/view.php?f=$1")" = 404 ] && [ "$(request "$base/picture.php?f=$1")" = 404 ] &&
        [ "$(request "$base/picture.php?f=$1&thumb=1")" = 404 ]
}

for i in 1 2 3 4 5 6 7; do
    convert -size 800x600 xc:white -fill "hsl($((i * 50)),70%,60%)" -draw "circle 400,300 560,420" \
        -fill none -stroke black -strokewidth 6 -draw "rectangle 60,60 740,540" -quality 60 "$work/p$i.jpg"
done

# Held: the family's requests succeed, the picture shows nowhere; the family is told it
# arrived, other addresses are not.
FROM=127.0.7.1 send HELDHELD01.jpg "Маша" 4 "$work/p1.jpg"
hidden HELDHELD01.jpg || fail "a held picture is shown"
FROM=127.0.7.1 expect 200 "$base/baby.php"
grep -q 'A picture sent from here has arrived' "$work/body" || fail "the family is not told its picture waits"
FROM=127.0.7.2 expect 200 "$base/baby.php"
grep -q 'sent from here' "$work/body" && fail "another address is told of a waiting picture"

# The moderator's page: closed without its password, then the held picture with its thumbnail.
expect 401 "$base/moderate"
grep -qi '^www-authenticate: basic' "$work/head" || fail "no password asked for"
expect 401 -u "moderator:wrong" "$base/moderate"
expect 401 -u "moderator:wrong" "$base/moderate?thumb=HELDHELD01.jpg"
expect 404 "$base/moderate.php"
expect 200 "${moderator[@]}" "$base/moderate"
grep -q 'HELDHELD01.jpg' "$work/body" || fail "the moderator does not see the held picture"
grep -qi '^cache-control: private, no-store' "$work/head" || fail "the moderator's page may be cached"
expect 200 "${moderator[@]}" "$base/moderate?thumb=HELDHELD01.jpg"
[ "$(identify -format '%wx%h' "$work/body")" = 200x150 ] || fail "the moderator's thumbnail"
expect 405 -X PUT "${moderator[@]}" "$base/moderate"
grep -qi '^allow: GET, POST, HEAD' "$work/head" || fail "405 on /moderate without Allow"

# Changes want the page's token: a form on another site cannot approve.
act 403 approve HELDHELD01.jpg ""
act 403 approve HELDHELD01.jpg "0123456789abcdef"
hidden HELDHELD01.jpg || fail "a forged approval showed the picture"
act 303 approve HELDHELD01.jpg
shown HELDHELD01.jpg || fail "an approved picture is not shown"
act 303 hide HELDHELD01.jpg
hidden HELDHELD01.jpg || fail "a hidden picture is shown"
expect 200 "${moderator[@]}" "$base/moderate?show=hidden"
grep -q 'HELDHELD01.jpg' "$work/body" || fail "the hidden list lacks the hidden picture"
tok="$(token)"
act 404 approve NOSUCHPICT.jpg "$tok"
used="$(php -r '$p = new PDO("sqlite:" . $argv[1]); echo $p->query("SELECT bytes FROM storage")->fetchColumn();' "$data/gallery.sqlite")"
act 303 delete HELDHELD01.jpg
[ -e "$data/pictures/HELDHELD01.jpg" ] || [ -e "$data/thumbs/HELDHELD01.jpg" ] && fail "a deleted picture's files stay"
[ "$(php -r '$p = new PDO("sqlite:" . $argv[1]); echo $p->query("SELECT bytes FROM storage")->fetchColumn();' "$data/gallery.sqlite")" = 0 ] ||
    fail "the deleted picture's $used bytes are still counted"
act 404 approve HELDHELD01.jpg "$tok"

# Names that tried to break their captions, approved, and the pages seen in Chromium.
names=("Даша" "$(printf 'Ж%.0s' $(seq 40))" "a$(printf '\u0301%.0s' $(seq 39))" "שרה" "Christopher-Alexander" "Петя")
ages=(3 5 6 6 "7 лет и 3 месяца" 5)
for i in "${!names[@]}"; do
    name="$(printf 'BRWSR%05d.jpg' "$i")"
    send "$name" "${names[$i]}" "${ages[$i]}" "$work/p$((i + 1)).jpg"
    [ "$i" = 5 ] || act 303 approve "$name" # the last one stays held, for the moderator's page
done
# Older pictures fill the gallery's first page, for lazy loading to show.
php -r '$p = new PDO("sqlite:" . $argv[1]);
    for ($i = 0; $i < 60; $i++) {
        $f = sprintf("OLDER%05d.jpg", $i);
        $p->exec("INSERT INTO pictures (filename, child, age, announced_at, uploaded_at, state, width, height)
                  VALUES (\"$f\", \"Ира\", \"4\", 1000, " . (1000 + $i) . ", \"shown\", 200, 150)");
        copy($argv[2], $argv[3] . "/pictures/$f");
        copy($argv[2], $argv[3] . "/thumbs/$f");
    }' "$data/gallery.sqlite" "$data/thumbs/BRWSR00000.jpg" "$data"
export BROWSER_PROFILE="$work/chromium"
mkdir -p "$BROWSER_PROFILE"
/usr/bin/python3 "$here/browser.py" "${PICTARO_SITE_SHOTS:-}" "" gallery="$base/baby.php" \
    picture="$base/view.php?f=BRWSR00003.jpg" || fail "the gallery in Chromium"
/usr/bin/python3 "$here/browser.py" "${PICTARO_SITE_SHOTS:-}" "Basic $(printf 'moderator:%s' "$password" | base64 -w0)" \
    moderate="$base/moderate" || fail "the moderator's page in Chromium"

if [ "$fails" -ne 0 ]; then
    echo "$fails check(s) failed"
    cat "$work/server.log"
    tail -n 20 "$data"/log/*error*.log
    exit 1
fi
echo "all moderation checks passed"
