#!/usr/bin/env bash
# Runs the bitmap corpus tests under memcheck; passes only when both the good and the damaged
# files were actually read (a run that found no file would otherwise pass having checked nothing).
set -uo pipefail
valgrind=$1 core_tests=$2
out=$("$valgrind" --error-exitcode=9 -q "$core_tests" --gtest_filter='BmpSuite.*' 2>&1)
rc=$?
echo "$out"
[ "$rc" -eq 0 ] || { echo "memcheck run failed (exit $rc)"; exit 1; }
good=$(sed -n 's/^checked \([0-9]*\) good bitmap files$/\1/p' <<<"$out")
bad=$(sed -n 's/^checked \([0-9]*\) damaged bitmap files$/\1/p' <<<"$out")
if [ "${good:-0}" -eq 0 ] || [ "${bad:-0}" -eq 0 ]; then
    echo "memcheck checked no bitmap file"
    exit 1
fi
echo "memcheck checked $good good and $bad damaged bitmap files"
