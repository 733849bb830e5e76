#!/usr/bin/env bash
# Generates every sound of Pictaro: spoken prompts and event sounds, plus the Qt
# resource file that lists them.
#
#   tools/sounds/make_sounds.sh [RESOURCES_DIR]     (default: resources/ of this repo)
#
# Writes RESOURCES_DIR/sounds/<name>.wav (English prompts and event sounds),
# RESOURCES_DIR/sounds/<lang>/<name>.wav (the prompts in the other languages) and
# RESOURCES_DIR/sounds.qrc, which lists them under /sounds with the same relative names.
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

# The words of each language are in prompts/<lang>.tsv (en.tsv is the reference list).
# English goes to sounds/en_<name>.wav, the historic names the app looks up; every other
# language to sounds/<lang>/<name>.wav.
LANGS=(en ru uk de fr es pt_BR)

# One light, friendly voice for every language, so a child who switches hears the same
# person: espeak-ng's female variant f3 with raised pitch. The English single words come
# out at about 2.7 syllables a second; the other languages' longer words are slowed to
# about 3.3 (Ukrainian 3.8: 80 is the slowest espeak-ng speaks), still unhurried, where
# matching the English rate would drag each syllable out.
declare -A VOICE=([en]=en-us [ru]=ru [uk]=uk [de]=de [fr]=fr-fr [es]=es [pt_BR]=pt-br)
declare -A SPEED=([en]=140 [ru]=88 [uk]=80 [de]=140 [fr]=127 [es]=117 [pt_BR]=115)
PITCH=65

# s1: page turn, s3: bucket-fill plop, sndfuse: spray hiss (loop), sndstir: eraser rub (loop).
EVENTS=(s1 s3 sndfuse sndstir)

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Reads a words table: "key<TAB>words[<TAB>pronunciation]" lines, # comments. Tolerates
# the CR line ends of a table saved on Windows.
table() {
    tr -d '\r' <"$here/prompts/$1.tsv" | grep -v -e '^#' -e '^[[:space:]]*$'
}
keys() { table "$1" | cut -f1 | sort; }

# A table that lacks a key of the reference list, or has one it does not, is an error
# here rather than a silent gap in the voices.
for lang in "${LANGS[@]}"; do
    if ! diff <(keys en) <(keys "$lang") >"$tmp/keys"; then
        echo "prompts/$lang.tsv does not have the keys of prompts/en.tsv (< missing, > unknown):" >&2
        grep '^[<>]' "$tmp/keys" >&2
        exit 1
    fi
done

names=()
for lang in "${LANGS[@]}"; do
    if [ "$lang" = en ]; then
        prefix=en_
    else
        prefix=$lang/
        mkdir -p "$out/$lang"
    fi
    while IFS=$'\t' read -r key words say; do
        name=$prefix$key
        espeak-ng -v "${VOICE[$lang]}+f3" -s "${SPEED[$lang]}" -p "$PITCH" -w "$tmp/raw.wav" "${say:-$words}"
        # Trim silence at both ends (threshold -60 dB keeps soft consonants like the
        # "h" of "huge"), fade the last 10 ms, leave a 30 ms lead-in so the first
        # consonant is not clipped by audio start-up, normalise to -1 dBFS peak.
        sox -R -D -V1 "$tmp/raw.wav" -t wav -e signed -b 16 -r 22050 -c 1 --comment "" "$out/$name.wav" \
            silence 1 0.005 0.1% reverse silence 1 0.005 0.1% fade t 0.01 reverse \
            pad 0.03 0.02 norm -1
        names+=("$name")
    done < <(table "$lang")
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
