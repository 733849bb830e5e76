#!/usr/bin/env bash
# Real playback: the program's sound player plays into a private PulseAudio null sink and
# parec records the sink's monitor around each step (see sound_probe.cpp); sox judges the
# recordings. Needs the Debian packages pulseaudio, pulseaudio-utils and sox.
# Usage: sound_playback.sh <sound_probe executable>
set -euo pipefail
probe=$1
for t in pulseaudio pactl parec pacat sox; do
    command -v "$t" >/dev/null || { echo "SKIP: $t is not installed"; exit 77; }
done

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/run HOME=$work/home
mkdir -m700 "$XDG_RUNTIME_DIR" "$HOME"
# An explicit server: a client that cannot reach it fails instead of spawning a daemon of its own.
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
unset PULSE_SINK PULSE_SOURCE
daemon=""
carrier=""
cleanup() {
    if [ -n "$carrier" ]; then
        kill "$carrier" 2>/dev/null || true
        wait "$carrier" 2>/dev/null || true
    fi
    [ -n "$daemon" ] && kill "$daemon" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target=stderr \
    -L module-null-sink -L module-native-protocol-unix -L module-always-sink </dev/null 2>"$work/pulse.log" || {
    cat "$work/pulse.log"
    exit 1
}
daemon=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null

# A steady silent stream keeps the null sink running with a short latency, so its monitor
# delivers what is played at once and records silence as silence, not as nothing. A new sink
# starts more than a second ahead of the clock; wait until it has settled.
pacat --latency-msec=20 --raw --format=s16le --rate=44100 --channels=2 /dev/zero </dev/null 2>"$work/carrier.log" &
carrier=$!
sink_latency() { pactl list sinks | awk '$1 == "Latency:" { print $2; exit }'; }
for _ in $(seq 100); do
    lat=$(sink_latency)
    [ -n "$lat" ] && [ "$lat" -lt 50000 ] && break
    sleep 0.1
done
echo "null sink latency: ${lat:-unknown} us"

mkdir "$work/rec"
"$probe" "$work/rec" </dev/null

fail=0
stat_of() { sox "$work/rec/$1" -n "${@:2}" stat 2>&1; }
value() { awk -F: -v k="$1" '$1 ~ k { gsub(/ /, "", $2); print $2 }'; }
check() { # name condition description
    if awk "BEGIN { exit !($2) }"; then
        echo "ok:   $1: $3"
    else
        echo "FAIL: $1: $3"
        fail=1
    fi
}

for f in prompt prompt_ru loop after_stop after_cut; do
    [ -s "$work/rec/$f.wav" ] || { echo "FAIL: no recording $f.wav"; exit 1; }
done

# The prompt asked for at once after start-up sounds, whole.
peak=$(stat_of prompt.wav | value "Maximum amplitude")
sounding=$(stat_of prompt.wav silence 1 0.01 1% reverse silence 1 0.01 1% reverse | value "Length")
check prompt "$peak > 0.3" "en_red peaks at $peak"
check prompt "$sounding > 0.35 && $sounding < 0.9" "en_red sounds for ${sounding}s (0.46s in the resource)"

# A prompt of another language, from its own folder, sounds whole too.
peak=$(stat_of prompt_ru.wav | value "Maximum amplitude")
sounding=$(stat_of prompt_ru.wav silence 1 0.01 1% reverse silence 1 0.01 1% reverse | value "Length")
check prompt_ru "$peak > 0.3" "ru/red peaks at $peak"
check prompt_ru "$sounding > 0.6 && $sounding < 1.2" "ru/red sounds for ${sounding}s (0.78s in the resource)"

# A loop still sounds past the end of its sample, to the end of the recording.
peak=$(stat_of loop.wav | value "Maximum amplitude")
late=$(stat_of loop.wav trim 0.8 | value "Maximum amplitude")
check loop "$peak > 0.05" "sndfuse loop peaks at $peak"
check loop "$late > 0.05" "sndfuse loop still sounds 2.6s after its start (peak $late)"

# Silence after a stop, and after a prompt cut the loop off and ended.
for f in after_stop after_cut; do
    len=$(stat_of $f.wav | value "Length")
    peak=$(stat_of $f.wav | value "Maximum amplitude")
    check $f "$len > 0.8" "${len}s recorded"
    check $f "$peak < 0.001" "silent (peak $peak)"
done
exit $fail
