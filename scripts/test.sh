#!/usr/bin/env bash
# Builds Pictaro and runs every test: a normal build (gcc), then the same suites under ASan and
# UBSan in a clang build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The sanitized build with clang, warnings as errors: the program stays buildable, without
# warnings, by both of Debian's compilers.
cmake -S . -B build-clang-asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DPICTARO_SANITIZE=ON -DPICTARO_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-clang-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-clang-asan --output-on-failure -j "$jobs" -LE nosan

# Every fuzz target for a minute.
scripts/fuzz.sh 1
