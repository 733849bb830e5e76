#!/usr/bin/env bash
# Builds Pictaro and starts it with its bundled coloring pages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target pictaro
exec build/pictaro "$@"
