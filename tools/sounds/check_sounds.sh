#!/usr/bin/env bash
# Checks the committed sounds: every expected file is there and listed in sounds.qrc,
# plays in QSoundEffect (22050 Hz mono 16-bit PCM, plain header), is audible and of
# a sensible length, and the two looping sounds join without a click or level jump.
# Every language has every English prompt, each as loud and trimmed as the English ones
# and not far longer than its English twin, and its words table has every key.
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
# The other languages: sounds/<lang>/<key>.wav, key being the English name without "en_".
LANGS="ru uk de fr es pt_BR"
SHOTS="s1 s3"
LOOPS="sndfuse sndstir"
MAX_TOTAL_BYTES=2000000 # for the English folder and for each language's
# A translated prompt may take this many times as long as its English twin: longer words,
# but not a sentence.
MAX_TWIN_RATIO=2.5

passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() {
    failed=$((failed + 1))
    echo "FAIL: $*"
}

# micro DECIMAL VAR: VAR = the non-negative DECIMAL in millionths (bash has no floats,
# and an awk for each of a thousand comparisons is slow).
micro() {
    [[ $1 =~ ^([0-9]*)(\.([0-9]*))?$ ]] || return 1
    local f="${BASH_REMATCH[3]}000000"
    printf -v "$2" '%d' $((10#${BASH_REMATCH[1]:-0} * 1000000 + 10#${f:0:6}))
}

# in_range VALUE LOW HIGH
in_range() {
    local v lo hi
    micro "$1" v && micro "$2" lo && micro "$3" hi && ((v >= lo && v <= hi))
}

# One pass over every sound, measured in one process (a few hundred files; a sox or soxi
# run for each figure took minutes). Per file: rate, channels, bits, whether the data
# chunk follows a plain 44-byte header, RMS and peak (full scale 1), length, and the
# silence before the first and after the last sample above 0.1% of full scale.
declare -A MEASURED
while read -r name figures; do
    MEASURED[$name]=$figures
done < <(cd "$dir" && find . -name '*.wav' -type f | sed 's|^\./||' | sort | python3 -c '
import array, math, sys, wave
for path in sys.stdin.read().split():
    name = path[:-4]
    try:
        with open(path, "rb") as f:
            plain = f.read(40)[36:40] == b"data"
        with wave.open(path) as w:
            rate, chans, width, n = w.getframerate(), w.getnchannels(), w.getsampwidth(), w.getnframes()
            frames = w.readframes(n)
    except (OSError, EOFError, wave.Error):
        print(name, "unreadable")
        continue
    if width != 2 or n == 0:
        print(name, rate, chans, 8 * width, int(plain), 0, 0, 0, 0, 0)
        continue
    x = array.array("h", frames)
    if sys.byteorder == "big":
        x.byteswap()
    loud = [i for i, v in enumerate(x) if abs(v) > 33]
    lead = loud[0] / rate if loud else n / rate
    tail = (len(x) - 1 - loud[-1]) / rate if loud else n / rate
    rms = math.sqrt(sum(v * v for v in x) / len(x)) / 32768
    peak = max(max(x), -min(x)) / 32768
    print(name, rate, chans, 16, int(plain), "%.6f" % rms, "%.6f" % peak, "%.6f" % (n / rate),
          "%.6f" % lead, "%.6f" % tail)
')

# check_file NAME MIN_SECONDS MAX_SECONDS
check_file() {
    local name="$1" f="$dir/$1.wav"
    if [ ! -f "$f" ]; then
        bad "$name.wav missing"
        return 1
    fi
    local base="${name##*/}"
    if [ "$base" != "$(echo "$base" | tr 'A-Z' 'a-z')" ]; then
        bad "$name.wav: file name not lower case"
    fi
    local rate chans bits plain rms peak dur lead tail
    read -r rate chans bits plain rms peak dur lead tail <<<"${MEASURED[$name]:-unreadable}"
    if [ "$rate" = unreadable ]; then
        bad "$name.wav: not a PCM WAV file"
        return 1
    fi
    if [ "$rate" = 22050 ] && [ "$chans" = 1 ] && [ "$bits" = 16 ]; then
        ok
    else
        bad "$name.wav: $rate Hz, $chans ch, $bits bit"
    fi
    # A metadata chunk before the data would make the bytes tool-dependent.
    if [ "$plain" = 1 ]; then ok; else bad "$name.wav: extra header chunks"; fi
    if in_range "$rms" 0.01 1; then ok; else bad "$name.wav: too quiet (RMS $rms)"; fi
    if in_range "$dur" "$2" "$3"; then ok; else bad "$name.wav: length $dur s not in [$2, $3]"; fi
}

# check_prompt NAME MAX_SECONDS
check_prompt() {
    check_file "$1" 0.3 "$2" || return 1
    local peak lead tail
    read -r _ _ _ _ _ peak _ lead tail <<<"${MEASURED[$1]}"
    # Normalised to -1 dBFS (0.891): louder means clipped, softer a level gone wrong.
    if in_range "$peak" 0.87 0.91; then ok; else bad "$1.wav: peak $peak, expected about 0.89"; fi
    # ~30 ms lead-in, no long silence left at either end, and the faded ending still
    # there (a prompt cut short ends on sound).
    if in_range "$lead" 0.02 0.06; then ok; else bad "$1.wav: lead-in $lead s"; fi
    if in_range "$tail" 0.015 0.1; then ok; else bad "$1.wav: trailing silence $tail s"; fi
}

for name in $PROMPTS; do
    check_prompt "$name" 1.5
done

for lang in $LANGS; do
    for name in $PROMPTS; do
        key=${name#en_}
        check_prompt "$lang/$key" 2.5 || continue
        read -r _ _ _ _ _ _ twin _ <<<"${MEASURED[$name]:-}"
        read -r _ _ _ _ _ _ dur _ <<<"${MEASURED[$lang/$key]}"
        if micro "$dur" d && micro "${twin:-}" t && micro "$MAX_TWIN_RATIO" r && ((d * 1000000 <= t * r)); then
            ok
        else
            bad "$lang/$key.wav: $dur s against ${twin} s in English"
        fi
    done
done

# The words tables have exactly the keys the program plays, so a regeneration makes them all.
keys=$(for n in $PROMPTS; do echo "${n#en_}"; done | sort)
for lang in en $LANGS; do
    table="$here/prompts/$lang.tsv"
    if [ "$(tr -d '\r' <"$table" 2>/dev/null | grep -v -e '^#' -e '^[[:space:]]*$' | cut -f1 | sort)" = "$keys" ]; then
        ok
    else
        bad "prompts/$lang.tsv does not have exactly one line for each prompt"
    fi
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
# Every sound's path below sounds/, without ".wav".
all_sounds() {
    for n in $PROMPTS $SHOTS $LOOPS; do echo "$n"; done
    for lang in $LANGS; do
        for n in $PROMPTS; do echo "$lang/${n#en_}"; done
    done
}
expected=$(all_sounds | while read -r n; do echo "<file alias=\"$n.wav\">sounds/$n.wav</file>"; done | sort)
listed=$(grep -o '<file [^>]*>[^<]*</file>' "$qrc" 2>/dev/null | sort)
if [ "$expected" = "$listed" ] && grep -q '<qresource prefix="/sounds">' "$qrc"; then
    ok
else
    bad "sounds.qrc does not list exactly the expected files"
fi
extra=$(comm -13 <(all_sounds | sed 's/$/.wav/' | sort) <(cd "$dir" && find . -type f | sed 's|^\./||' | sort))
if [ -z "$extra" ]; then ok; else bad "unlisted files in $dir: $extra"; fi

for sub in . $LANGS; do
    total=$(cat "$dir/$sub"/*.wav 2>/dev/null | wc -c)
    if [ "$total" -le "$MAX_TOTAL_BYTES" ]; then ok; else bad "sounds/$sub takes $total bytes"; fi
done

if [ "$rebuild" = 1 ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    if "$here/make_sounds.sh" "$tmp" >/dev/null; then
        if diff <(cd "$res" && find sounds.qrc sounds -type f | sort | xargs sha256sum) \
            <(cd "$tmp" && find sounds.qrc sounds -type f | sort | xargs sha256sum); then
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
