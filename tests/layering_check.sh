#!/bin/bash
# Dependencies run one way: app/ -> library/ paint/ stats/ share/ -> base/.
# Fails when a widget-free file includes a window header or a QtWidgets header.
# Usage: layering_check.sh <source dir> <QtWidgets include dir>
set -u
src=$1
widgets=$2
cd "$src" || exit 2
[ -d "$widgets" ] || { echo "no QtWidgets headers in $widgets"; exit 2; }
# Every class header QtWidgets ships (QWidget, QLabel, ...), as an include pattern.
names=$(ls "$widgets" | grep -E '^Q[A-Za-z0-9]+$' | paste -sd'|')
bad=0
checked=0
check() { # <folders> <pattern> <what>
    local hits
    hits=$(grep -nE "$2" $1 2>/dev/null)
    if [ -n "$hits" ]; then
        echo "$3:"
        echo "$hits"
        bad=1
    fi
}
files=$(ls base/*.cpp base/*.h library/*.cpp library/*.h paint/*.cpp paint/*.h \
    palette/*.h stats/*.cpp stats/*.h share/*.cpp share/*.h 2>/dev/null)
checked=$(echo "$files" | grep -c .)
[ "$checked" -gt 0 ] || { echo "no files found under the subsystem folders"; exit 1; }
check "$files" '#\s*include\s*["<]app/' "includes a header of app/"
check "$files" "#\\s*include\\s*<(QtWidgets(/[^>]*)?|($names))>" "includes a QtWidgets header"
basefiles=$(echo "$files" | grep '^base/')
check "$basefiles" '#\s*include\s*["<](library|paint|palette|stats|share)/' "base/ includes a subsystem header"
echo "checked $checked files"
exit $bad
