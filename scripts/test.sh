#!/usr/bin/env bash
# Builds Pictaro and runs every test: a normal build, then the same suites under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICTARO_SANITIZE=ON -DPICTARO_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE nosan

# Every fuzz target for a minute.
scripts/fuzz.sh 1
