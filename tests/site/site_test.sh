#!/usr/bin/env bash
# The gallery site alone, as served by site/serve.sh (nginx and PHP-FPM), fed good and bad
# input: every request is refused or stored harmlessly, pictures are stored re-encoded with
# thumbnails, nothing is written outside the site's data folder, and the limits hold.
# Usage: site_test.sh <source-dir> [sqlite|postgres]. PostgreSQL runs as a private server
# this script starts in a temporary folder. Packages: see scripts/deps.sh --test.
set -euo pipefail
src="$(cd "${1:?source dir}" && pwd)"
db_kind="${2:-sqlite}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
data="$work/data"
mkdir -p "$work/outside"
source "$here/lib.sh"
port="$(free_port)"
base="http://127.0.0.1:$port"
fails=0
cap=$((1500 * 1024)) # the storage cap: filled on purpose at the end

server=""
cleanup() {
    [ -n "$server" ] && { kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; }
    stop_postgres
    rm -rf "$work"
}
trap cleanup EXIT

if [ "$db_kind" = postgres ]; then
    start_postgres "$work"
    export PICTARO_GALLERY_DSN="$PG_DSN"
else
    export PICTARO_GALLERY_DSN="sqlite:$data/gallery.sqlite"
fi

touch "$work/marker"
sleep 1 # later writes must have a newer time than the marker
PICTARO_GALLERY_DATA="$data" PICTARO_GALLERY_MAX_BYTES=$cap PICTARO_GALLERY_WORKERS=3 PICTARO_GALLERY_MODERATION=show \
    "$src/site/serve.sh" "$port" >"$work/server.log" 2>&1 &
server=$!
wait_for_site "$base" || { cat "$work/server.log"; exit 1; }

fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
}
# Every request comes from a random loopback address unless FROM is set, so the
# per-address limits only meet the checks written for them.
from() {
    echo "${FROM:-127.$((SRANDOM % 250 + 1)).$((SRANDOM % 250 + 1)).$((SRANDOM % 250 + 1))}"
}
# request <curl args...>: prints the status; the answer's body is left in $work/body, its
# headers in $work/head.
request() {
    curl -s --interface "$(from)" -D "$work/head" -o "$work/body" -w '%{http_code}' "$@"
}
expect() { # <status> <curl args...>
    local want="$1"
    shift
    local got
    got="$(request "$@")"
    [ "$got" = "$want" ] || fail "expected $want, got $got for: $* ($(head -c 200 "$work/body"))"
}
announce() { # <status> <file name> <child> <age>, values sent percent-encoded
    expect "$1" -G "$base/write_image.php" --data-urlencode "filename=$2" \
        --data-urlencode "rebenok=$3" --data-urlencode "vozrast=$4"
}
upload() { # <status> <local file> <part file name> [type]
    expect "$1" -F "filename=@$2;filename=$3;type=${4:-image/jpeg}" "$base/get_image.php"
}
stored() { [ -f "$data/pictures/$1" ]; }
size_of() { identify -format '%wx%h' "$1" 2>/dev/null || echo none; }
# sql <statement>...: runs them on one connection, printing the last one's rows.
sql() {
    php -r '$p = new PDO(getenv("PICTARO_GALLERY_DSN"), null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
        foreach (array_slice($argv, 1) as $q) { $rows = $p->query($q)->fetchAll(PDO::FETCH_NUM); }
        foreach ($rows as $r) echo implode("|", $r), "\n";' -- "$@"
}

convert -size 800x600 xc:orange -fill blue -draw 'circle 400,300 500,380' -quality 60 "$work/ok.jpg"
convert -size 64x48 xc:orange "$work/ok.png"
convert -size 64x48 xc:green -quality 60 "$work/small.jpg"
printf '\xff\xd8\xffthis is no picture at all' >"$work/fake.jpg"
head -c 15 "$work/ok.jpg" >"$work/header-only.jpg"
convert -size 300x200 xc: +noise Random -quality 60 "$work/noise-small.jpg"
head -c $(($(stat -c %s "$work/noise-small.jpg") / 2)) "$work/noise-small.jpg" >"$work/truncated.jpg"
{ cat "$work/small.jpg"; printf '<html><script>alert(1)</script></html>'; } >"$work/html-tail.jpg"
{ cat "$work/small.jpg"; head -c $((1024 * 1024)) /dev/urandom; } >"$work/random-tail.jpg"
convert -size 64x48 xc:green -set comment 'secret-comment' -quality 60 "$work/comment.jpg"
convert -size 8000x8000 xc:white -quality 5 "$work/vast.jpg"
{ printf '\xff\xd8\xff'; head -c $((5 * 1024 * 1024 - 3)) /dev/zero; } >"$work/big.jpg" # exactly 5 MB
{ cat "$work/ok.jpg"; head -c $((6 * 1024 * 1024)) /dev/zero; } >"$work/huge.jpg"        # over PHP's limit

# The good path: the picture is stored re-encoded at its size, with a 200 x 150 thumbnail.
announce 200 AAAAAAAAAA.jpg "Маша" 4
upload 200 "$work/ok.jpg" /home/someone/upload/AAAAAAAAAA.jpg
stored AAAAAAAAAA.jpg || fail "good picture not stored"
[ "$(size_of "$data/pictures/AAAAAAAAAA.jpg")" = 800x600 ] || fail "stored picture has another size"
[ "$(size_of "$data/thumbs/AAAAAAAAAA.jpg")" = 200x150 ] || fail "thumbnail is not 200x150"
expect 200 "$base/baby.php"
grep -q 'Маша' "$work/body" || fail "gallery does not show the name"
grep -q '<a href="/view.php?f=AAAAAAAAAA.jpg"><img src="/picture.php?f=AAAAAAAAAA.jpg&amp;thumb=1"' "$work/body" ||
    fail "gallery does not show the thumbnail linking to the picture"
expect 200 "$base/picture.php?f=AAAAAAAAAA.jpg"
cmp -s "$data/pictures/AAAAAAAAAA.jpg" "$work/body" || fail "picture served differs from the stored one"
grep -qi '^content-type: image/jpeg' "$work/head" || fail "picture not served as a JPEG"
expect 200 "$base/picture.php?f=AAAAAAAAAA.jpg&thumb=1"
[ "$(size_of "$work/body")" = 200x150 ] || fail "thumbnail served is not 200x150"
# Wide pictures keep their proportions.
convert -size 1000x300 xc:pink -quality 60 "$work/wide.jpg"
announce 200 WWWWWWWWWW.jpg "Ваня" 6
upload 200 "$work/wide.jpg" WWWWWWWWWW.jpg
[ "$(size_of "$data/thumbs/WWWWWWWWWW.jpg")" = 200x60 ] || fail "wide thumbnail: $(size_of "$data/thumbs/WWWWWWWWWW.jpg")"

# A thumbnail keeps every outline of a page, even ones two pixels wide eight times smaller,
# wherever they fall (101 pixels apart, so at every offset a sampling step could skip).
/usr/bin/python3 - "$work/grid.jpg" <<'PYEOF'
import sys
from PIL import Image, ImageDraw
im = Image.new('RGB', (1600, 800), 'white')
d = ImageDraw.Draw(im)
for x in range(50, 1590, 101):
    d.rectangle((x, 0, x + 1, 799), fill='black')
im.save(sys.argv[1], quality=60)
PYEOF
announce 200 GRIDGRIDGR.jpg "Гриша" 5
upload 200 "$work/grid.jpg" GRIDGRIDGR.jpg
lost="$(/usr/bin/python3 - "$data/thumbs/GRIDGRIDGR.jpg" <<'PYEOF'
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('L')
w, h = im.size
column = [sum(im.getpixel((x, y)) for y in range(h)) / h for x in range(w)]
lost = [x for x in range(50, 1590, 101) if min(column[max(0, x * w // 1600 - 1):x * w // 1600 + 2]) > 230]
print(' '.join(map(str, lost)))
PYEOF
)"
[ -z "$lost" ] || fail "the thumbnail lost the outlines at x = $lost"

# Paths in file names: refused on announce and on upload.
announce 400 "../../outside/x.jpg" "Петя" 5
announce 400 "../AAAAAAAAAB.jpg" "Петя" 5
announce 400 "AAAAAAAAAB.jpg/.." "Петя" 5
announce 400 "AAAAAAAAA%2F.jpg" "Петя" 5
announce 200 BBBBBBBBBB.jpg "Петя" 5
upload 400 "$work/ok.jpg" "../../outside/BBBBBBBBBB.jpg.php"
upload 400 "$work/ok.jpg" "..%2F..%2Foutside%2Fevil.jpg"
expect 404 "$base/picture.php?f=../gallery.sqlite"
expect 404 "$base/picture.php?f=..%2Fgallery.sqlite"
expect 404 "$base/../data/gallery.sqlite"
expect 404 "$base/../lib/gallery.php"
expect 404 "$base/migrate.php"
stored BBBBBBBBBB.jpg && fail "a refused upload was stored"

# Not a JPEG the decoder can read whole: a PNG, a text or a bare header with a JPEG's first bytes,
# half a JPEG, a JPEG claimed by type only; and one too vast to decode.
upload 415 "$work/ok.png" BBBBBBBBBB.jpg
upload 415 "$work/fake.jpg" BBBBBBBBBB.jpg
upload 415 "$work/header-only.jpg" BBBBBBBBBB.jpg
upload 415 "$work/truncated.jpg" BBBBBBBBBB.jpg
upload 415 "$work/ok.png" BBBBBBBBBB.jpg image/jpeg
upload 415 "$work/vast.jpg" BBBBBBBBBB.jpg
stored BBBBBBBBBB.jpg && fail "a non-JPEG was stored"
convert -size 64x48 xc:green -colorspace CMYK -quality 60 "$work/cmyk.jpg"
announce 200 CMYKCMYKCM.jpg "Кира" 5
upload 415 "$work/cmyk.jpg" CMYKCMYKCM.jpg

# Anything after or inside the picture that is not picture is gone from what is stored.
announce 200 PPPPPPPPPP.jpg "Поля" 5
upload 200 "$work/html-tail.jpg" PPPPPPPPPP.jpg
announce 200 QQQQQQQQQQ.jpg "Рома" 5
upload 200 "$work/random-tail.jpg" QQQQQQQQQQ.jpg
announce 200 RRRRRRRRRR.jpg "Соня" 5
upload 200 "$work/comment.jpg" RRRRRRRRRR.jpg
grep -qa 'script' "$data/pictures/PPPPPPPPPP.jpg" && fail "HTML after a JPEG was stored"
[ "$(stat -c %s "$data/pictures/QQQQQQQQQQ.jpg")" -lt 20000 ] || fail "random bytes after a JPEG were stored"
grep -qa 'secret-comment' "$data/pictures/RRRRRRRRRR.jpg" && fail "metadata was stored"
for f in PPPPPPPPPP QQQQQQQQQQ RRRRRRRRRR; do
    [ "$(size_of "$data/pictures/$f.jpg")" = 64x48 ] || fail "$f.jpg is not the picture sent"
    [ "$(tail -c 2 "$data/pictures/$f.jpg" | od -An -tx1 | tr -d ' ')" = ffd9 ] || fail "$f.jpg does not end its JPEG"
done

# Too large: 5 MB exactly (our limit), more than PHP takes, a declared 10 GB body (refused
# at once, before any of it is sent).
upload 413 "$work/big.jpg" BBBBBBBBBB.jpg
upload 413 "$work/huge.jpg" BBBBBBBBBB.jpg
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'POST /get_image.php HTTP/1.1\r\nHost: x\r\nContent-Type: multipart/form-data; boundary=b\r\nContent-Length: 10737418240\r\n\r\n' >&3
reply="$(timeout 5 head -n1 <&3 || true)"
exec 3>&-
[[ "$reply" == "HTTP/1.1 413"* ]] || fail "a declared 10 GB body got: $reply"
stored BBBBBBBBBB.jpg && fail "an oversized upload was stored"

# Unannounced, and a second upload over a stored picture.
upload 403 "$work/ok.jpg" CCCCCCCCCC.jpg
stored CCCCCCCCCC.jpg && fail "an unannounced upload was stored"
cp "$data/pictures/AAAAAAAAAA.jpg" "$work/first.jpg"
upload 409 "$work/small.jpg" AAAAAAAAAA.jpg
cmp -s "$work/first.jpg" "$data/pictures/AAAAAAAAAA.jpg" || fail "a stored picture was replaced"
announce 409 AAAAAAAAAA.jpg "Вася" 3

# Names and ages: markup, SQL quotes, length, encoding, control, direction and invisible
# characters, arrays.
announce 200 DDDDDDDDDD.jpg '<script>alert(1)</script>' '<b>5</b>'
upload 200 "$work/small.jpg" DDDDDDDDDD.jpg
announce 200 EEEEEEEEEE.jpg "O'Brien\"; DROP TABLE pictures;--" "6'--"
upload 200 "$work/small.jpg" EEEEEEEEEE.jpg
expect 200 "$base/baby.php"
grep -q '<script>' "$work/body" && fail "markup from a name reached the page"
grep -q '<b>5' "$work/body" && fail "markup from an age reached the page"
grep -q '&lt;script&gt;alert(1)&lt;/script&gt;' "$work/body" || fail "escaped name not shown"
grep -q 'O&apos;Brien&quot;;' "$work/body" || fail "quoted name not shown as text"
grep -q '6&apos;--' "$work/body" || fail "quoted age not shown as text"
[ "$(grep -c '<li>' "$work/body")" = 8 ] || fail "gallery should list eight pictures"
# Newest first: the last upload leads.
first="$(grep -o 'picture.php?f=[A-Za-z0-9]*\.jpg' "$work/body" | head -1)"
[ "$first" = "picture.php?f=EEEEEEEEEE.jpg" ] || fail "newest picture is not first ($first)"

announce 400 FFFFFFFFFF.jpg "$(printf 'x%.0s' $(seq 41))" 4
announce 200 FFFFFFFFFF.jpg "$(printf 'Ж%.0s' $(seq 40))" 4
announce 200 GGGGGGGGGG.jpg "$(printf '\u00a0Аня\u3000')" 4
[ "$(sql "SELECT child FROM pictures WHERE filename = 'GGGGGGGGGG.jpg'")" = "Аня" ] || fail "blanks around a name were kept"
announce 400 HHHHHHHHHH.jpg "Аня" "$(printf '9%.0s' $(seq 21))"
for bad in "" "   " "$(printf '\u00a0\u00a0')" "$(printf '\u3000')" "$(printf '\u200b\u200b')" \
    "$(printf '\ufeff')" "$(printf '\u3164')" "$(printf 'Аня\u0085')" "$(printf '\u202eАня')" \
    "$(printf 'Аня\u2066')" "$(printf 'А\u200fня')"; do
    announce 400 HHHHHHHHHH.jpg "$bad" 4
    announce 400 HHHHHHHHHH.jpg "Аня" "$bad"
done
expect 400 "$base/write_image.php?filename=HHHHHHHHHH.jpg&rebenok=%FF%FE&vozrast=4"
expect 400 "$base/write_image.php?filename=HHHHHHHHHH.jpg&rebenok=a%0Ab&vozrast=4"
expect 400 "$base/write_image.php?filename=HHHHHHHHHH.jpg&rebenok=a%C2%9Bb&vozrast=4"
expect 400 "$base/write_image.php?filename=HHHHHHHHHH.jpg&rebenok[]=a&vozrast=4"
expect 400 "$base/write_image.php?filename[]=HHHHHHHHHH.jpg&rebenok=a&vozrast=4"
expect 400 "$base/write_image.php?rebenok=a&vozrast=4"

# Methods: every page answers HEAD as GET, with the same status and headers and no body;
# anything else is 405.
for page in / /baby.php /baby.php?page=2 "/picture.php?f=AAAAAAAAAA.jpg" /view.php?f=AAAAAAAAAA.jpg \
    "/picture.php?f=AAAAAAAAAA.jpg&thumb=1" /picture.php?f=ZZZZZZZZZZ.jpg /style.css /nothing; do
    get_status="$(request "$base$page")"
    get_type="$(grep -i '^content-type:' "$work/head" || true)"
    expect "$get_status" -I "$base$page"
    [ "$(grep -i '^content-type:' "$work/head" || true)" = "$get_type" ] || fail "HEAD $page: other type"
    for m in POST PUT DELETE OPTIONS PATCH; do
        [ "$page" = /nothing ] && break
        expect 405 -X "$m" "$base$page"
    done
done
expect 405 "$base/get_image.php"
expect 405 -X PUT "$base/get_image.php"
expect 405 -X POST "$base/write_image.php?filename=HHHHHHHHHH.jpg&rebenok=a&vozrast=4"
expect 405 -X DELETE "$base/baby.php"
grep -qi '^allow: GET, HEAD' "$work/head" || fail "405 without Allow"

# No moderator's page without its password set.
expect 503 "$base/moderate"
expect 503 -u "moderator:" "$base/moderate"

# HEAD on the announce records nothing; the server's own 405s say what is allowed.
expect 405 -I "$base/write_image.php?filename=HEADHEADHE.jpg&rebenok=a&vozrast=4"
grep -qi '^allow: GET' "$work/head" || fail "405 for HEAD on the announce without Allow"
[ "$(sql "SELECT COUNT(*) FROM pictures WHERE filename = 'HEADHEADHE.jpg'")" = 0 ] || fail "HEAD recorded an announcement"
expect 405 -X POST "$base/style.css"
grep -qi '^allow: GET, HEAD' "$work/head" || fail "the server's own 405 without Allow"
# Pictures: no encoder's comment, never larger than sent; kept by browsers until changed.
grep -qa 'CREATOR' "$data/pictures/AAAAAAAAAA.jpg" "$data/thumbs/AAAAAAAAAA.jpg" && fail "an encoder's comment was stored"
[ "$(stat -c %s "$data/pictures/AAAAAAAAAA.jpg")" -le "$(stat -c %s "$work/ok.jpg")" ] || fail "the stored picture grew"
expect 200 "$base/picture.php?f=AAAAAAAAAA.jpg&thumb=1"
etag="$(sed -n 's/^[Ee][Tt][Aa][Gg]: *\(.*\)\r$/\1/p' "$work/head")"
modified="$(sed -n 's/^[Ll]ast-[Mm]odified: *\(.*\)\r$/\1/p' "$work/head")"
[ -n "$etag" ] && [ -n "$modified" ] || fail "a thumbnail without ETag or Last-Modified"
expect 304 -H "If-None-Match: $etag" "$base/picture.php?f=AAAAAAAAAA.jpg&thumb=1"
expect 304 -H "If-Modified-Since: $modified" "$base/picture.php?f=AAAAAAAAAA.jpg&thumb=1"
expect 200 -H 'If-None-Match: "other"' "$base/picture.php?f=AAAAAAAAAA.jpg&thumb=1"
# Pages and the style sheet go compressed.
for page in /baby.php /style.css; do
    expect 200 -H 'Accept-Encoding: gzip' "$base$page"
    grep -qi '^content-encoding: gzip' "$work/head" || fail "$page is not compressed"
done

# Headers: no versions, no sniffing, a strict policy on pages.
expect 200 "$base/baby.php"
grep -qi '^server: nginx.[0-9]' "$work/head" && fail "the server tells its version"
grep -qi '^x-powered-by' "$work/head" && fail "PHP tells its version"
grep -qi "^content-security-policy: default-src 'none'" "$work/head" || fail "gallery without a policy"
grep -qi '^x-content-type-options: nosniff' "$work/head" || fail "gallery without nosniff"
grep -qi '^content-type: text/html; charset=utf-8' "$work/head" || fail "gallery type"

# Pagination: 60 a page, newest first, the 61st on the next page.
for i in $(seq 1 55); do
    name="$(printf 'M%09d.jpg' "$i")"
    announce 200 "$name" "Миша $i" 3
    upload 200 "$work/small.jpg" "$name"
done
expect 200 "$base/baby.php"
[ "$(grep -c '<li>' "$work/body")" = 60 ] || fail "first page should hold 60 pictures"
grep -q 'M000000055.jpg' "$work/body" || fail "newest picture missing from the first page"
grep -q 'href="/baby.php?page=2"' "$work/body" || fail "no link to the second page"
expect 200 "$base/baby.php?page=2"
[ "$(grep -c '<li>' "$work/body")" = 3 ] || fail "second page should hold 3 pictures"
grep -q 'AAAAAAAAAA.jpg' "$work/body" || fail "oldest picture not on the second page"
grep -q 'page=3' "$work/body" && fail "a third page is offered"

# Four families behind one address open the gallery at once: every thumbnail arrives.
viewers=()
for v in 1 2 3 4; do
    (curl -s --interface 127.0.9.3 "$base/baby.php" | grep -o '/picture.php?f=[A-Za-z0-9]*\.jpg&amp;thumb=1' |
        sed "s|&amp;|\&|; s|^|$base|" | xargs -n 1 curl -s --interface 127.0.9.3 -o /dev/null -w '%{http_code}\n' \
        >"$work/viewer$v") &
    viewers+=($!)
done
wait "${viewers[@]}"
[ "$(cat "$work"/viewer* | grep -c '^200$')" = 240 ] || fail "four viewers from one address: $(sort "$work"/viewer* | uniq -c | tr '\n' ' ')"

# A grey picture (one component) is taken; its thumbnail shows its dark square on white.
convert -size 640x400 xc:white -fill black -draw "rectangle 100,100 300,300" -colorspace Gray -quality 70 "$work/grey.jpg"
announce 200 GREYGREYGR.jpg "Гоша" 4
upload 200 "$work/grey.jpg" GREYGREYGR.jpg
[ "$(size_of "$data/thumbs/GREYGREYGR.jpg")" = 200x125 ] || fail "grey thumbnail: $(size_of "$data/thumbs/GREYGREYGR.jpg")"
[ "$(convert "$data/thumbs/GREYGREYGR.jpg" -crop 20x20+50+50 -format '%[fx:mean<0.1]' info:)" = 1 ] &&
    [ "$(convert "$data/thumbs/GREYGREYGR.jpg" -crop 20x20+130+20 -format '%[fx:mean>0.9]' info:)" = 1 ] ||
    fail "the grey picture's thumbnail lost its square"

# The purge: stale announcements go a bounded batch per announce, through their index.
sql "INSERT INTO pictures (filename, child, age, client, announced_at)
     SELECT 'S' || id || '.jpg', 'x', '1', 'old', 1000
     FROM pictures WHERE filename LIKE 'M%'" >/dev/null
for i in 1 2 3 4 5; do
    sql "INSERT INTO pictures (filename, child, age, client, announced_at)
         SELECT 'T$i-' || id || '.jpg', 'x', '1', 'old', 1000
         FROM pictures WHERE filename LIKE 'M%'" >/dev/null
done
# One of them with the files an upload that died before its commit would leave.
sql "INSERT INTO pictures (filename, child, age, client, announced_at) VALUES ('OOOOOOOOOO.jpg', 'x', '1', 'old', 1000)" >/dev/null
cp "$work/small.jpg" "$data/pictures/OOOOOOOOOO.jpg"
cp "$work/small.jpg" "$data/thumbs/OOOOOOOOOO.jpg"
stale() { sql "SELECT COUNT(*) FROM pictures WHERE announced_at = 1000"; }
[ "$(stale)" = 331 ] || fail "stale rows were not made: $(stale)"
announce 200 IIIIIIIIII.jpg "Ира" 7
[ "$(stale)" = 131 ] || fail "one announce should purge a batch of 200 ($(stale) left)"
announce 200 JJJJJJJJJJ.jpg "Юля" 7
[ "$(stale)" = 0 ] || fail "stale announcements left: $(stale)"
[ -e "$data/pictures/OOOOOOOOOO.jpg" ] || [ -e "$data/thumbs/OOOOOOOOOO.jpg" ] &&
    fail "files of a purged announcement were kept"
if [ "$db_kind" = sqlite ]; then
    plan="$(sql "EXPLAIN QUERY PLAN SELECT id FROM pictures WHERE uploaded_at IS NULL AND announced_at < 5 LIMIT 200")"
else
    # A table this small is read whole; forbid that to see the plan a big one gets.
    plan="$(sql "SET enable_seqscan = off" "EXPLAIN SELECT id FROM pictures WHERE uploaded_at IS NULL AND announced_at < 5 LIMIT 200")"
fi
grep -q pictures_pending <<<"$plan" || fail "the purge does not use its index: $plan"

# One address may keep 20 announcements waiting, no more; and a burst of requests from
# one address is cut by the server's rate limit.
for i in $(seq 1 20); do FROM=127.0.9.1 announce 200 "$(printf 'K%09d.jpg' "$i")" "Кира" 4; done
FROM=127.0.9.1 announce 429 K999999999.jpg "Кира" 4
grep -q 'waiting for their upload' "$work/body" || fail "the pending cap did not answer: $(cat "$work/body")"
upload 200 "$work/small.jpg" K000000001.jpg
limited=0
for i in $(seq 1 30); do
    [ "$(FROM=127.0.9.2 request "$base/write_image.php?filename=bad")" = 429 ] && limited=$((limited + 1))
done
[ "$limited" -ge 5 ] && [ "$limited" -le 9 ] || fail "30 quick announces from one address: $limited limited"

# Scan bombs: a small progressive JPEG whose scan repeats thousands of times, and a baseline
# one with its scan repeated; refused at once, and the gallery answers while four arrive.
/usr/bin/python3 - "$work" <<'PYEOF'
import io, sys
from PIL import Image
def scans(data):
    """(start, end) of each scan: its SOS segment and coded data."""
    out, pos = [], 2
    while data[pos + 1] != 0xD9:
        marker, length = data[pos + 1], int.from_bytes(data[pos + 2:pos + 4], 'big')
        end = pos + 2 + length
        if marker == 0xDA:
            while not (data[end] == 0xFF and data[end + 1] not in (0, *range(0xD0, 0xD8))):
                end += 1
            out.append((pos, end))
        pos = end
    return out
def bomb(progressive, repeats, path):
    out = io.BytesIO()
    Image.new('RGB', (6000, 2000), 'white').save(out, 'JPEG', progressive=progressive, quality=60)
    data = out.getvalue()
    start, end = min(scans(data), key=lambda s: s[1] - s[0])
    open(path, 'wb').write(data[:end] + data[start:end] * repeats + data[end:])
bomb(True, 2000, sys.argv[1] + '/bomb-progressive.jpg')
bomb(True, 60000, sys.argv[1] + '/bomb-big.jpg')
bomb(False, 20, sys.argv[1] + '/bomb-baseline.jpg')
PYEOF
for kind in progressive baseline; do
    announce 200 "BOMB${kind:0:4}XX.jpg" "Боб" 5
    took="$(curl -s --interface "$(from)" -o "$work/body" -w '%{http_code} %{time_total}' \
        -F "filename=@$work/bomb-$kind.jpg;filename=BOMB${kind:0:4}XX.jpg;type=image/jpeg" "$base/get_image.php")"
    [ "${took% *}" = 415 ] || fail "a $kind scan bomb got ${took% *}"
    awk -v t="${took#* }" 'BEGIN { exit !(t < 1.0) }' || fail "a $kind scan bomb took ${took#* } s to refuse"
done
bombs=()
for i in 1 2 3 4; do
    announce 200 "BOMBBIG00$i.jpg" "Боб" 5
    curl -s -o /dev/null --interface "$(from)" -F "filename=@$work/bomb-big.jpg;filename=BOMBBIG00$i.jpg;type=image/jpeg" \
        "$base/get_image.php" &
    bombs+=($!)
done
sleep 0.2
took="$(curl -s --interface "$(from)" -o /dev/null -w '%{http_code} %{time_total}' "$base/baby.php")"
wait "${bombs[@]}"
[ "${took% *}" = 200 ] || fail "the gallery got ${took% *} while scan bombs arrived"
awk -v t="${took#* }" 'BEGIN { exit !(t < 1.0) }' || fail "the gallery took ${took#* } s while scan bombs arrived"
stored BOMBBIG001.jpg && fail "a scan bomb was stored"

# An announcement buys five tries; the sixth is refused before any decoding.
announce 200 TRYTRYTRY1.jpg "Тоня" 5
for i in 1 2 3 4 5; do upload 415 "$work/fake.jpg" TRYTRYTRY1.jpg; done
upload 429 "$work/ok.jpg" TRYTRYTRY1.jpg
stored TRYTRYTRY1.jpg && fail "an upload past its tries was stored"

# An upload killed while its worker decodes leaves its files in tmp/; the next upload
# sweeps them once they are older than any request can be.
convert -size 3200x2400 xc: +noise Random -quality 80 "$work/slow.jpg"
fpm="$(cat "$data/run/php-fpm.pid")"
left=""
for try in 1 2 3 4 5; do
    announce 200 "KILLKILL0$try.jpg" "Кира" 5
    curl -s -o /dev/null --interface "$(from)" -F "filename=@$work/slow.jpg;filename=KILLKILL0$try.jpg;type=image/jpeg" \
        "$base/get_image.php" &
    sender=$!
    for _ in $(seq 200); do
        [ -n "$(ls -A "$data/tmp")" ] && break
        sleep 0.01
    done
    pkill -KILL -P "$fpm" || true # the site's own workers; their master starts new ones
    wait "$sender" || true
    left="$(ls -A "$data/tmp")"
    [ -n "$left" ] && break
done
[ -n "$left" ] || fail "no upload was caught in the middle"
for _ in $(seq 100); do [ "$(pgrep -c -P "$fpm")" = 3 ] && break; sleep 0.05; done
# Until then they count against the storage cap (what is left would fill it).
upload 507 "$work/small.jpg" "KILLKILL0$try.jpg"
[ "$(ls -A "$data/tmp")" = "$left" ] || fail "the files of a killed upload went before their time"
touch -d '-3 minutes' "$data/tmp/"*
upload 200 "$work/small.jpg" "KILLKILL0$try.jpg"
[ -z "$(ls -A "$data/tmp")" ] || fail "a killed upload's files were not swept: $(ls -A "$data/tmp")"

# A commit that fails leaves no file, and the retry stores the picture.
used_before="$(sql 'SELECT bytes FROM storage')"
announce 200 LLLLLLLLLL.jpg "Лёва" 5
if [ "$db_kind" = sqlite ]; then
    sql "CREATE TRIGGER fail_upload BEFORE UPDATE OF uploaded_at ON pictures
         WHEN NEW.filename = 'LLLLLLLLLL.jpg' BEGIN SELECT RAISE(ABORT, 'injected'); END" >/dev/null
    undo="DROP TRIGGER fail_upload"
else
    # Checked at COMMIT, after the files are in place.
    sql "CREATE FUNCTION fail_upload() RETURNS trigger LANGUAGE plpgsql AS
         \$\$ BEGIN RAISE EXCEPTION 'injected'; END \$\$" >/dev/null
    sql "CREATE CONSTRAINT TRIGGER fail_upload AFTER UPDATE ON pictures DEFERRABLE INITIALLY DEFERRED
         FOR EACH ROW WHEN (NEW.filename = 'LLLLLLLLLL.jpg' AND NEW.uploaded_at IS NOT NULL) EXECUTE FUNCTION fail_upload()" >/dev/null
    undo="DROP TRIGGER fail_upload ON pictures"
fi
upload 500 "$work/ok.jpg" LLLLLLLLLL.jpg
stored LLLLLLLLLL.jpg && fail "a failed commit left the picture"
[ -e "$data/thumbs/LLLLLLLLLL.jpg" ] && fail "a failed commit left the thumbnail"
[ -z "$(ls -A "$data/tmp")" ] || fail "a failed commit left temporary files"
[ "$(sql 'SELECT bytes FROM storage')" = "$used_before" ] || fail "a failed commit counted its bytes"
sql "$undo" >/dev/null
upload 200 "$work/ok.jpg" LLLLLLLLLL.jpg
stored LLLLLLLLLL.jpg || fail "the retry after a failed commit was not stored"

# The storage cap: once full, 507 and nothing stored; what is counted is what is on disk.
full=""
convert -size 700x700 xc: +noise Random -quality 90 "$work/noise.jpg"
for i in $(seq 1 12); do
    name="$(printf 'N%09d.jpg' "$i")"
    announce 200 "$name" "Нина" 5
    status="$(request -F "filename=@$work/noise.jpg;filename=$name;type=image/jpeg" "$base/get_image.php")"
    if [ "$status" = 507 ]; then
        full="$name"
        break
    fi
    [ "$status" = 200 ] || fail "upload before the cap: $status"
done
[ -n "$full" ] || fail "the storage cap never answered 507"
[ -n "$full" ] && stored "$full" && fail "a picture over the cap was stored"
on_disk="$(cat "$data"/pictures/* "$data"/thumbs/* | wc -c)"
[ "$on_disk" -le "$cap" ] || fail "stored $on_disk bytes over the cap of $cap"
[ "$(sql 'SELECT bytes FROM storage')" = "$on_disk" ] || fail "counted $(sql 'SELECT bytes FROM storage') bytes, $on_disk on disk"

# The data folder is the site's user's alone.
for d in "$data" "$data/pictures" "$data/thumbs" "$data/tmp"; do
    [ "$(stat -c %a "$d")" = 700 ] || fail "$d is $(stat -c %a "$d")"
done
loose="$(find "$data/pictures" "$data/thumbs" "$data"/gallery.sqlite* -type f ! -perm 600 2>/dev/null || true)"
[ -z "$loose" ] || fail "files others can read: $loose"

# Every stored picture has its row and every uploaded row its files.
rows="$(sql 'SELECT filename FROM pictures WHERE uploaded_at IS NOT NULL ORDER BY filename' | tr '\n' ' ')"
[ "$(ls "$data/pictures" | sort | tr '\n' ' ')" = "$rows" ] || fail "pictures and rows differ"
[ "$(ls "$data/thumbs" | sort | tr '\n' ' ')" = "$rows" ] || fail "thumbnails and rows differ"
stray="$(find "$src/site" "$work" -newer "$work/marker" -type f \
    ! -path "$data/*" ! -path "$work/body" ! -path "$work/head" ! -path "$work/server.log" \
    ! -path "$work/*.jpg" ! -path "$work/*.png" ! -path "$work/viewer*")"
[ -z "$stray" ] || fail "files written outside the data folder: $stray"
[ -z "$(ls -A "$work/outside")" ] || fail "something reached the outside folder"
[ -z "$(ls -A "$data/tmp")" ] || fail "temporary uploads were left behind"
grep -v 'injected\|upload of LLLLLLLLLL.jpg' "$data/log/php-error.log" 2>/dev/null | grep . && fail "PHP logged errors"

if [ "$fails" -ne 0 ]; then
    echo "$fails check(s) failed"
    cat "$work/server.log"
    tail -n 20 "$data"/log/*error*.log
    exit 1
fi
echo "all site checks passed ($db_kind)"
