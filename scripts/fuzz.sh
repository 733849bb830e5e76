#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in build-fuzz/ and runs each
# one for the given number of minutes (default 1; fractions work), one after the other:
#   scripts/fuzz.sh <minutes> [reader...]      (readers: pak page stat config http autosave)
# A crash, leak, hang or broken invariant fails the run and leaves the input in
# build-fuzz/fuzz/ as <reader>-crash-*, -leak-*, -timeout-* or -oom-*; replay it with
# build-fuzz/fuzz/fuzz_<reader> <file>. The inputs each target found worth keeping grow in
# build-fuzz/fuzz/corpus/<reader>/ from run to run, seeded by tests/fuzz/corpus/<reader>/.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-1}
readers=("${@:2}")
[ ${#readers[@]} -gt 0 ] || readers=(pak page stat config http autosave)
secs=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60); print (s < 1 ? 1 : s) }')
scripts/deps.sh --test

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPICTARO_FUZZ=ON -DPICTARO_TESTS=OFF -DPICTARO_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_targets -j "$(nproc)"

out=build-fuzz/fuzz
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
failed=()
for reader in "${readers[@]}"; do
    mkdir -p "$out/corpus/$reader"
    echo "== fuzz_$reader: $secs s"
    if "$out/fuzz_$reader" -max_total_time="$secs" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/$reader-" "$out/corpus/$reader" "tests/fuzz/corpus/$reader" \
        >"$out/$reader.log" 2>&1 </dev/null; then
        grep -E 'stat::(number_of_executed_units|average_exec_per_sec)' "$out/$reader.log"
    else
        failed+=("$reader")
        tail -n 60 "$out/$reader.log"
        echo "fuzz_$reader FAILED; the input is in $out/ (log: $out/$reader.log)"
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]}"
    exit 1
fi
