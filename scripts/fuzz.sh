#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in build-fuzz/ and runs each
# one for the given number of minutes (default 1; fractions work), or until it has run the
# given number of inputs, one after the other, and prints each one's runs per second:
#   scripts/fuzz.sh <minutes> [reader...]
#   scripts/fuzz.sh --runs <inputs> [reader...]
# (readers: pak page stat config http autosave history thumbnail picture picturestore settings pipeline fill)
# A crash, leak, hang or broken invariant fails the run and leaves the input in
# build-fuzz/fuzz/ as <reader>-crash-*, -leak-*, -timeout-* or -oom-*; replay it with
# build-fuzz/fuzz/fuzz_<reader> <file> (the targets keep no allocation stacks and silence Qt's
# warnings to run faster: ASAN_OPTIONS=malloc_context_size=30 and FUZZ_QT_MESSAGES=1 bring
# them back). The inputs each target found worth keeping grow in
# build-fuzz/fuzz/corpus/<reader>/ from run to run, seeded by tests/fuzz/corpus/<reader>/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --runs ]; then
    [[ "${2:-}" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 --runs <inputs> [reader...]" >&2; exit 2; }
    limit=(-runs="$2")
    what="$2 runs"
    shift 2
else
    minutes=${1:-1}
    [ $# -gt 0 ] && shift
    secs=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60); print (s < 1 ? 1 : s) }')
    limit=(-max_total_time="$secs")
    what="$secs s"
fi
readers=("$@")
[ ${#readers[@]} -gt 0 ] || readers=(pak page stat config http autosave history thumbnail picture picturestore settings pipeline fill)
scripts/deps.sh --test

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPICTARO_FUZZ=ON -DPICTARO_TESTS=OFF -DPICTARO_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_targets -j "$(nproc)"

out=build-fuzz/fuzz
# The longest input worth making, where longer ones only repeat what shorter ones hold (the
# same coverage in the same time, at more runs): config.ini is read a line at a time and has
# four keys, so half a kilobyte of lines holds every case a longer file does; stat.dat's
# records are read one by one, and a kilobyte holds fifteen of them and a cut one.
declare -A maxLen=([config]=512 [stat]=1024)
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
failed=()
summary=()
for reader in "${readers[@]}"; do
    mkdir -p "$out/corpus/$reader"
    echo "== fuzz_$reader: $what"
    start=$(date +%s)
    extra=()
    [ -z "${maxLen[$reader]:-}" ] || extra=(-max_len="${maxLen[$reader]}")
    if "$out/fuzz_$reader" "${limit[@]}" "${extra[@]}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/$reader-" "$out/corpus/$reader" "tests/fuzz/corpus/$reader" \
        >"$out/$reader.log" 2>&1 </dev/null; then
        runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$out/$reader.log")
        rate=$(awk '/stat::average_exec_per_sec/ { print $2 }' "$out/$reader.log")
        cov=$(grep -o 'cov: [0-9]*' "$out/$reader.log" | tail -n 1 | cut -d' ' -f2 || true)
        line=$(printf '%-10s %12s runs %8s runs/s %7s s  cov %s' "$reader" "$runs" "$rate" \
            "$(($(date +%s) - start))" "${cov:-?}")
        echo "$line"
        summary+=("$line")
    else
        failed+=("$reader")
        tail -n 60 "$out/$reader.log"
        echo "fuzz_$reader FAILED; the input is in $out/ (log: $out/$reader.log)"
    fi
done
[ ${#summary[@]} -eq 0 ] || printf '%s\n' "== summary" "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]}"
    exit 1
fi
