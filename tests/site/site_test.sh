#!/usr/bin/env bash
# The gallery site alone, fed bad input: every request is refused or stored harmlessly,
# and nothing is written outside the site's data folder.
# Usage: site_test.sh <source-dir>. Needs php-cli php-sqlite3 curl imagemagick.
set -euo pipefail
src="$(cd "${1:?source dir}" && pwd)"
work="$(mktemp -d)"
data="$work/data"
mkdir -p "$work/outside"
port="$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); echo explode(":", stream_socket_get_name($s, false))[1];')"
base="http://127.0.0.1:$port"
fails=0

touch "$work/marker"
sleep 1 # later writes must have a newer time than the marker
PICTARO_GALLERY_DATA="$data" "$src/site/serve.sh" "$port" >"$work/server.log" 2>&1 &
server=$!
cleanup() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
    curl -s -o /dev/null "$base/" && break
    sleep 0.1
done

fail() {
    echo "FAIL: $*"
    fails=$((fails + 1))
}
# expect <status> <curl args...>: the answer's body is left in $work/body.
expect() {
    local want="$1"
    shift
    local got
    got="$(curl -s -o "$work/body" -w '%{http_code}' "$@")"
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

convert -size 64x48 xc:orange -fill blue -draw 'circle 32,24 40,30' -quality 60 "$work/ok.jpg"
convert -size 64x48 xc:orange "$work/ok.png"
printf '\xff\xd8\xffthis is no picture at all' >"$work/fake.jpg"
{ printf '\xff\xd8\xff'; head -c $((5 * 1024 * 1024 - 3)) /dev/zero; } >"$work/big.jpg" # exactly 5 MB
{ cat "$work/ok.jpg"; head -c $((6 * 1024 * 1024)) /dev/zero; } >"$work/huge.jpg"        # over PHP's limit

# The good path works, so the refusals below are about the input.
announce 200 AAAAAAAAAA.jpg "Маша" 4
upload 200 "$work/ok.jpg" /home/someone/upload/AAAAAAAAAA.jpg
stored AAAAAAAAAA.jpg && cmp -s "$work/ok.jpg" "$data/pictures/AAAAAAAAAA.jpg" || fail "good picture not stored as sent"
expect 200 "$base/baby.php"
grep -q 'Маша' "$work/body" || fail "gallery does not show the name"
expect 200 "$base/picture.php?f=AAAAAAAAAA.jpg"
cmp -s "$work/ok.jpg" "$work/body" || fail "picture served differs from the upload"

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
stored BBBBBBBBBB.jpg && fail "a refused upload was stored"

# Not a JPEG: a PNG, a text with a JPEG's first bytes, a JPEG claimed by type only.
upload 415 "$work/ok.png" BBBBBBBBBB.jpg
upload 415 "$work/fake.jpg" BBBBBBBBBB.jpg
upload 415 "$work/ok.png" BBBBBBBBBB.jpg image/jpeg
stored BBBBBBBBBB.jpg && fail "a non-JPEG was stored"

# Too large: 5 MB exactly (our limit), and more than PHP takes at all.
upload 413 "$work/big.jpg" BBBBBBBBBB.jpg
upload 413 "$work/huge.jpg" BBBBBBBBBB.jpg
stored BBBBBBBBBB.jpg && fail "an oversized upload was stored"

# Unannounced, and a second upload over a stored picture.
upload 403 "$work/ok.jpg" CCCCCCCCCC.jpg
stored CCCCCCCCCC.jpg && fail "an unannounced upload was stored"
convert -size 10x10 xc:green "$work/other.jpg"
upload 409 "$work/other.jpg" AAAAAAAAAA.jpg
cmp -s "$work/ok.jpg" "$data/pictures/AAAAAAAAAA.jpg" || fail "a stored picture was replaced"
announce 409 AAAAAAAAAA.jpg "Вася" 3

# Names and ages: markup, SQL quotes, length, encoding, control characters, arrays.
announce 200 DDDDDDDDDD.jpg '<script>alert(1)</script>' '<b>5</b>'
upload 200 "$work/ok.jpg" DDDDDDDDDD.jpg
announce 200 EEEEEEEEEE.jpg "O'Brien\"; DROP TABLE pictures;--" "6'--"
upload 200 "$work/ok.jpg" EEEEEEEEEE.jpg
expect 200 "$base/baby.php"
grep -q '<script>' "$work/body" && fail "markup from a name reached the page"
grep -q '<b>5' "$work/body" && fail "markup from an age reached the page"
grep -q '&lt;script&gt;alert(1)&lt;/script&gt;' "$work/body" || fail "escaped name not shown"
grep -q 'O&apos;Brien&quot;;' "$work/body" || fail "quoted name not shown as text"
grep -q '6&apos;--' "$work/body" || fail "quoted age not shown as text"
[ "$(grep -c '<li>' "$work/body")" = 3 ] || fail "gallery should list three pictures"
# Newest first: the last upload leads.
first="$(grep -o 'picture.php?f=[A-Za-z0-9]*\.jpg' "$work/body" | head -1)"
[ "$first" = "picture.php?f=EEEEEEEEEE.jpg" ] || fail "newest picture is not first ($first)"

announce 400 FFFFFFFFFF.jpg "$(printf 'x%.0s' $(seq 41))" 4
announce 200 FFFFFFFFFF.jpg "$(printf 'Ж%.0s' $(seq 40))" 4
announce 400 GGGGGGGGGG.jpg "Аня" "$(printf '9%.0s' $(seq 21))"
announce 400 GGGGGGGGGG.jpg "" 4
announce 400 GGGGGGGGGG.jpg "   " 4
announce 400 GGGGGGGGGG.jpg "Аня" ""
expect 400 "$base/write_image.php?filename=GGGGGGGGGG.jpg&rebenok=%FF%FE&vozrast=4"
expect 400 "$base/write_image.php?filename=GGGGGGGGGG.jpg&rebenok=a%0Ab&vozrast=4"
expect 400 "$base/write_image.php?filename=GGGGGGGGGG.jpg&rebenok[]=a&vozrast=4"
expect 400 "$base/write_image.php?filename[]=GGGGGGGGGG.jpg&rebenok=a&vozrast=4"
expect 400 "$base/write_image.php?rebenok=a&vozrast=4"

# Wrong methods.
expect 405 "$base/get_image.php"
expect 405 -X POST "$base/write_image.php?filename=HHHHHHHHHH.jpg&rebenok=a&vozrast=4"

# The table survived every quote, and only the good pictures are in the folder.
[ "$(ls "$data/pictures" | sort | tr '\n' ' ')" = "AAAAAAAAAA.jpg DDDDDDDDDD.jpg EEEEEEEEEE.jpg " ] ||
    fail "unexpected stored files: $(ls "$data/pictures")"
stray="$(find "$src/site" "$work" -newer "$work/marker" -type f \
    ! -path "$data/*" ! -path "$work/body" ! -path "$work/server.log" ! -path "$work/*.jpg" ! -path "$work/*.png")"
[ -z "$stray" ] || fail "files written outside the data folder: $stray"
[ -z "$(ls -A "$work/outside")" ] || fail "something reached the outside folder"
[ -z "$(ls -A "$data/tmp")" ] || fail "temporary uploads were left behind"

if [ "$fails" -ne 0 ]; then
    echo "$fails check(s) failed"
    cat "$work/server.log"
    exit 1
fi
echo "all site checks passed"
