#!/usr/bin/env bash
# Generates every sound of Pictaro: spoken prompts and event sounds, plus the Qt
# resource file that lists them.
#
#   tools/sounds/make_sounds.sh [RESOURCES_DIR]     (default: resources/ of this repo)
#
# Writes RESOURCES_DIR/sounds/<name>.wav and RESOURCES_DIR/sounds.qrc.
# All files: WAV, PCM 16-bit signed, mono, 22050 Hz, plain 44-byte header.
#
# Debian packages: espeak-ng, sox, python3 (standard library only).
#
# Output is byte-for-byte reproducible: espeak-ng is deterministic, sox runs with
# -R -D (fixed random state, no dither) and --comment "" (no metadata chunk), and
# the noise behind the event sounds comes from a seeded generator in sndsynth.py.
# Verified with espeak-ng 1.51 and SoX 14.4.2; other versions of either may
# change the bytes (not the sound), so compare with tools/sounds/check_sounds.sh --rebuild.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
res="${1:-$here/../../resources}"
mkdir -p "$res/sounds"
res="$(cd "$res" && pwd)"
out="$res/sounds"

for tool in espeak-ng sox python3; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

# A light, friendly voice: female variant, raised pitch, unhurried for small ears.
VOICE="en-us+f3"
SPEED=140
PITCH=65

# file name -> words spoken. Some file names are historic; the app looks them up by name.
PROMPTS=(
    "en_red|red"
    "en_yellow|yellow"
    "en_orange|orange"
    "en_green|green"
    "en_blue|blue"
    "en_bluelight|light blue"
    "en_black|black"
    "en_white|white"
    "en_random|rainbow colors"
    "en_erase|eraser"
    "en_draw|brush"
    "en_paint|paint bucket"
    "en_spray|spray can"
    "en_magic|magic wand"
    "en_figures|shapes"
    "en_huge|huge"
    "en_big|big"
    "en_midel|medium"
    "en_litel|little"
    "en_tainy|tiny"
    "en_flower|flowers"
    "en_hard|heart"
    "en_snow|snowflakes"
    "en_listochek|leaves"
    "en_square|square"
    "en_circle|circle"
    "en_line|line"
    "en_triangle|triangle"
    "en_polygon|hexagon"
    "en_trapecia|trapezoid"
    "en_romb|diamond"
    "en_rotate|turn around"
    "en_undo|undo"
    "en_redo|redo"
)

# s1: page turn, s3: bucket-fill plop, sndfuse: spray hiss (loop), sndstir: eraser rub (loop).
EVENTS=(s1 s3 sndfuse sndstir)

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

names=()
for entry in "${PROMPTS[@]}"; do
    name="${entry%%|*}"
    words="${entry#*|}"
    espeak-ng -v "$VOICE" -s "$SPEED" -p "$PITCH" -w "$tmp/raw.wav" "$words"
    # Trim silence at both ends (threshold -60 dB keeps soft consonants like the
    # "h" of "huge"), fade the last 10 ms, leave a 30 ms lead-in so the first
    # consonant is not clipped by audio start-up, normalise to -1 dBFS peak.
    sox -R -D -V1 "$tmp/raw.wav" -t wav -e signed -b 16 -r 22050 -c 1 --comment "" "$out/$name.wav" \
        silence 1 0.005 0.1% reverse silence 1 0.005 0.1% fade t 0.01 reverse \
        pad 0.03 0.02 norm -1
    names+=("$name")
done

for name in "${EVENTS[@]}"; do
    python3 "$here/sndsynth.py" "$name" "$out/$name.wav"
    names+=("$name")
done

{
    echo '<RCC>'
    echo '    <qresource prefix="/sounds">'
    for name in "${names[@]}"; do
        echo "        <file alias=\"$name.wav\">sounds/$name.wav</file>"
    done
    echo '    </qresource>'
    echo '</RCC>'
} >"$res/sounds.qrc"

echo "wrote ${#names[@]} sounds to $out and $res/sounds.qrc"
