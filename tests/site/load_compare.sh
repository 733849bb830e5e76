#!/usr/bin/env bash
# The load test on this site and on the site of an earlier commit, taking turns in one run,
# so both meet the same machine: pairs per second, latencies and the load average of each.
# Usage: load_compare.sh <source-dir> <commit> [rounds] [load_client.py options]
set -euo pipefail
src="$(cd "${1:?source dir}" && pwd)"
rev="${2:?commit}"
rounds="${3:-2}"
shift $(($# < 3 ? $# : 3))
here="$(cd "$(dirname "$0")" && pwd)"
old="$(mktemp -d)"
trap 'rm -rf "$old"' EXIT
git -C "$src" archive "$rev" site | tar -x -C "$old"
for round in $(seq "$rounds"); do
    for side in "$rev:$old" "this:$src"; do
        echo "== round $round, ${side%%:*} (load average $(cut -d' ' -f1-3 /proc/loadavg))"
        bash "$here/load_test.sh" "${side#*:}" "$@" | grep -E 'pairs/s|latency|servers:|FAIL' || true
    done
done
