#!/usr/bin/env bash
# Checks the committed sounds: every expected file is there and listed in sounds.qrc,
# plays in QSoundEffect (22050 Hz mono 16-bit PCM, plain header), is audible and of
# a sensible length, and the two looping sounds join without a click or level jump.
#
#   tools/sounds/check_sounds.sh [--rebuild] [RESOURCES_DIR]
#
# --rebuild also regenerates everything into a temporary folder and requires the
# same sha256 for every file as the committed one.
#
# Debian packages: sox, python3, coreutils.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
rebuild=0
if [ "${1:-}" = "--rebuild" ]; then
    rebuild=1
    shift
fi
res="${1:-$here/../../resources}"
dir="$res/sounds"

PROMPTS="en_red en_yellow en_orange en_green en_blue en_bluelight en_black en_white en_random
en_erase en_draw en_paint en_spray en_magic en_figures en_huge en_big en_midel en_litel en_tainy
en_flower en_hard en_snow en_listochek en_square en_circle en_line en_triangle en_polygon
en_trapecia en_romb en_rotate en_undo en_redo"
SHOTS="s1 s3"
LOOPS="sndfuse sndstir"
MAX_TOTAL_BYTES=2000000

passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() {
    failed=$((failed + 1))
    echo "FAIL: $*"
}

# in_range VALUE LOW HIGH
in_range() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

stat_of() { sox "$1" -n stat 2>&1 | awk -F: -v k="$2" '$1 ~ k { gsub(/ /, "", $2); print $2 }'; }

# check_file NAME MIN_SECONDS MAX_SECONDS
check_file() {
    local name="$1" f="$dir/$1.wav"
    if [ ! -f "$f" ]; then
        bad "$name.wav missing"
        return 1
    fi
    if [ "$name" != "$(echo "$name" | tr 'A-Z' 'a-z')" ]; then
        bad "$name.wav: file name not lower case"
    fi
    local rate chans bits enc
    rate=$(soxi -r "$f") chans=$(soxi -c "$f") bits=$(soxi -b "$f") enc=$(soxi -e "$f")
    if [ "$rate" = 22050 ] && [ "$chans" = 1 ] && [ "$bits" = 16 ] && [ "$enc" = "Signed Integer PCM" ]; then
        ok
    else
        bad "$name.wav: $rate Hz, $chans ch, $bits bit, $enc"
    fi
    # A metadata chunk before the data would make the bytes tool-dependent.
    if [ "$(head -c 40 "$f" | tail -c 4)" = data ]; then ok; else bad "$name.wav: extra header chunks"; fi
    local rms dur
    rms=$(stat_of "$f" "RMS +amplitude")
    dur=$(soxi -D "$f")
    if in_range "$rms" 0.01 1; then ok; else bad "$name.wav: too quiet (RMS $rms)"; fi
    if in_range "$dur" "$2" "$3"; then ok; else bad "$name.wav: length $dur s not in [$2, $3]"; fi
}

for name in $PROMPTS; do
    check_file "$name" 0.3 1.5 || continue
    f="$dir/$name.wav"
    peak=$(awk -v hi="$(stat_of "$f" "Maximum amplitude")" -v lo="$(stat_of "$f" "Minimum amplitude")" \
        'BEGIN { print (hi > -lo ? hi : -lo) }')
    # Normalised to -1 dBFS (0.891).
    if in_range "$peak" 0.87 0.91; then ok; else bad "$name.wav: peak $peak, expected about 0.89"; fi
    # ~30 ms lead-in, no long silence left at either end.
    read -r lead tail < <(sox "$f" -t s16 - | od -An -v -td2 -w2 | awk '
        { x = $1 < 0 ? -$1 : $1; n++; if (x > 33) { if (!first) first = n; last = n } }
        END { print (first - 1) / 22050, (n - last) / 22050 }')
    if in_range "$lead" 0.02 0.06; then ok; else bad "$name.wav: lead-in $lead s"; fi
    if in_range "$tail" 0 0.1; then ok; else bad "$name.wav: trailing silence $tail s"; fi
done

for name in $SHOTS; do
    check_file "$name" 0.25 0.5 || continue
    # One-shots must start and end at (near) zero, or they click.
    read -r first last < <(sox "$dir/$name.wav" -t s16 - | od -An -v -td2 -w2 |
        awk 'NR == 1 { f = $1 } { l = $1 } END { print (f < 0 ? -f : f), (l < 0 ? -l : l) }')
    if [ "$first" -le 100 ] && [ "$last" -le 100 ]; then ok; else bad "$name.wav: edges $first / $last"; fi
done

for name in $LOOPS; do
    check_file "$name" 1.0 2.0 || continue
    # The seam test: a linear predictor fitted on the whole file predicts each sample
    # from the ones before it. Across a good seam (end followed by start) its error
    # is as small as anywhere else; a hard cut shows up as a burst of error.
    # Level: RMS of 50 ms windows, taken round the wrap-around too, stays close to
    # the mean for the hiss; for the rhythmic rub, the seam window must match its
    # neighbour on the far side of the loop.
    if out=$(python3 - "$dir/$name.wav" "$name" <<'EOF'
import math, struct, sys, wave

path, name = sys.argv[1], sys.argv[2]
with wave.open(path) as w:
    n = w.getnframes()
    x = [v / 32768.0 for v in struct.unpack("<%dh" % n, w.readframes(n))]

order = 16
r = [sum(x[i] * x[i + k] for i in range(n - k)) for k in range(order + 1)]
# Levinson-Durbin
a, err = [1.0] + [0.0] * order, r[0]
for i in range(1, order + 1):
    k = -sum(a[j] * r[i - j] for j in range(i)) / err
    a = [a[j] + k * a[i - j] if 0 < j < i else a[j] for j in range(order + 1)]
    a[i] = k
    err *= 1.0 - k * k

wrapped = x + x[:order * 4]  # the loop as played: end, then start again
def residual(i):
    return sum(a[j] * wrapped[i - j] for j in range(order + 1))
typical = math.sqrt(sum(residual(i) ** 2 for i in range(order, n)) / (n - order))
seam = math.sqrt(sum(residual(i) ** 2 for i in range(n, n + order)) / order)
ratio = seam / typical

win = int(0.05 * 22050)
def level(start):
    seg = [wrapped[i] if i < len(wrapped) else x[i - n] for i in range(start, start + win)]
    return 20 * math.log10(math.sqrt(sum(v * v for v in seg) / win))
mean = 20 * math.log10(math.sqrt(sum(v * v for v in x) / n))
problems = []
if ratio > 1.8:
    problems.append("seam prediction error %.2fx typical (click)" % ratio)
if name == "sndfuse":
    levels = [level(s) for s in range(0, n, win // 2)]  # the last windows cross the seam
    worst = max(abs(l - mean) for l in levels)
    if worst > 1.5:
        problems.append("level varies by %.1f dB" % worst)
else:
    jump = abs(level(n - win) - level(0))
    if jump > 3.0:
        problems.append("level jumps %.1f dB at the seam" % jump)
print("; ".join(problems) if problems else "seam error %.2fx typical" % ratio)
sys.exit(1 if problems else 0)
EOF
    ); then
        ok
        echo "$name.wav: $out"
    else
        bad "$name.wav: $out"
    fi
done

# Resource file lists exactly the expected files.
qrc="$res/sounds.qrc"
expected=$(for n in $PROMPTS $SHOTS $LOOPS; do echo "<file alias=\"$n.wav\">sounds/$n.wav</file>"; done | sort)
listed=$(grep -o '<file [^>]*>[^<]*</file>' "$qrc" 2>/dev/null | sort)
if [ "$expected" = "$listed" ] && grep -q '<qresource prefix="/sounds">' "$qrc"; then
    ok
else
    bad "sounds.qrc does not list exactly the expected files"
fi
extra=$(comm -13 <(for n in $PROMPTS $SHOTS $LOOPS; do echo "$n.wav"; done | sort) <(ls "$dir" | sort))
if [ -z "$extra" ]; then ok; else bad "unlisted files in $dir: $extra"; fi

total=$(cat "$dir"/*.wav | wc -c)
if [ "$total" -le "$MAX_TOTAL_BYTES" ]; then ok; else bad "sounds take $total bytes"; fi

if [ "$rebuild" = 1 ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    if "$here/make_sounds.sh" "$tmp" >/dev/null; then
        if diff <(cd "$res" && sha256sum sounds.qrc sounds/*.wav) <(cd "$tmp" && sha256sum sounds.qrc sounds/*.wav); then
            ok
        else
            bad "regenerated sounds differ from the committed ones"
        fi
    else
        bad "make_sounds.sh failed"
    fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
