#!/usr/bin/env bash
# Loopback load on the gallery served by site/serve.sh (nginx and PHP-FPM, SQLite unless
# LOAD_DB=postgres): announce+upload pairs many at a time, all stored exactly once; idle
# half-sent connections; clients that stop reading. Prints pairs per second and latencies.
# Usage: load_test.sh <source-dir> [load_client.py options, e.g. --pairs 1000]
set -euo pipefail
src="$(cd "${1:?source dir}" && pwd)"
shift
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
work="$(mktemp -d)"
data="$work/data"
server=""
cleanup() {
    [ -n "$server" ] && { kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; }
    stop_postgres
    rm -rf "$work"
}
trap cleanup EXIT
if [ "${LOAD_DB:-sqlite}" = postgres ]; then
    start_postgres
    export PICTARO_GALLERY_DSN="$PG_DSN"
else
    export PICTARO_GALLERY_DSN="sqlite:$data/gallery.sqlite"
fi
port="$(free_port)"
PICTARO_GALLERY_DATA="$data" PICTARO_GALLERY_MODERATION=show "$src/site/serve.sh" "$port" >"$work/server.log" 2>&1 &
server=$!
wait_for_site "http://127.0.0.1:$port" || { cat "$work/server.log"; exit 1; }

# CPU seconds used so far by the servers (nginx, PHP-FPM and their workers).
server_cpu() {
    /usr/bin/python3 - "$server" <<'PYEOF'
import os, sys
kids = {}
for pid in filter(str.isdigit, os.listdir('/proc')):
    try:
        f = open(f'/proc/{pid}/stat').read().rsplit(')', 1)[1].split()
    except OSError:
        continue
    kids.setdefault(f[1], []).append((pid, f))
total, todo = 0, [sys.argv[1]]
while todo:
    for pid, f in kids.get(todo.pop(), []):
        total += sum(int(v) for v in f[11:15])
        todo.append(pid)
print(total / os.sysconf('SC_CLK_TCK'))
PYEOF
}
status=0
before="$(server_cpu)"
start=$(date +%s.%N)
/usr/bin/python3 "$here/load_client.py" "$port" "$@" || status=1
awk -v a="$before" -v b="$(server_cpu)" -v s="$start" -v e="$(date +%s.%N)" \
    'BEGIN { printf "servers: %.1f s of CPU over the %.1f s of the whole run\n", b - a, e - s }'
pairs="$(/usr/bin/python3 -c 'import sys; a = sys.argv[1:]; print(a[a.index("--pairs") + 1] if "--pairs" in a else 1000)' "$@")"
rows="$(php -r '$p = new PDO(getenv("PICTARO_GALLERY_DSN"));
    echo $p->query("SELECT COUNT(*), COUNT(DISTINCT filename) FROM pictures WHERE uploaded_at IS NOT NULL AND filename LIKE '\''L%'\''")->fetch(PDO::FETCH_NUM)[0];')"
files="$(find "$data/pictures" -name 'L*.jpg' | wc -l)"
thumbs="$(find "$data/thumbs" -name 'L*.jpg' | wc -l)"
echo "stored: $rows rows, $files pictures, $thumbs thumbnails for $pairs pairs"
[ "$rows" = "$pairs" ] && [ "$files" = "$pairs" ] && [ "$thumbs" = "$pairs" ] || { echo "FAIL: not stored exactly once"; status=1; }
if grep -v 'limiting requests\|buffered to a temporary' "$data/log/nginx-error.log" | grep -q '\[\(error\|crit\|alert\|emerg\)\]'; then
    echo "FAIL: nginx logged errors:"; grep '\[\(error\|crit\|alert\)\]' "$data/log/nginx-error.log" | head -5; status=1
fi
[ -s "$data/log/php-error.log" ] && { echo "FAIL: PHP logged errors:"; head -5 "$data/log/php-error.log"; status=1; }
exit $status
