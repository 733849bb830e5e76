#!/usr/bin/env bash
# Serves the gallery with nginx and PHP-FPM, as the user who runs it, until stopped (TERM
# or Ctrl-C stops both). Packages: nginx php-fpm php-gd php-sqlite3 libturbojpeg0 (php-pgsql
# for PostgreSQL).
# Usage: site/serve.sh [port]   (default 8080; HOST defaults to 127.0.0.1)
# Environment:
#   PICTARO_GALLERY_DATA     data folder (default site/data): database, pictures, thumbnails
#   PICTARO_GALLERY_DSN      database (default sqlite:<data>/gallery.sqlite), for example
#                            pgsql:host=db.example;dbname=gallery;user=gallery;password=...
#   PICTARO_GALLERY_MAX_BYTES  storage cap for pictures and thumbnails (default 10 GiB)
#   PICTARO_GALLERY_RUN      sockets, pid files and nginx's buffers (default <data>/run)
#   PICTARO_GALLERY_LOG      the servers' and PHP's logs (default <data>/log)
#   PICTARO_GALLERY_WORKERS  PHP workers (default: two per processor, at least four)
#   PICTARO_GALLERY_MODERATION  hold (default): new pictures wait for a moderator's approval
#                            at /moderate; show: they appear at once
#   PICTARO_GALLERY_MODERATOR_PASSWORD  the password of /moderate (unset: the page is closed)
set -euo pipefail
umask 077
here="$(cd "$(dirname "$0")" && pwd)"
port="${1:-8080}"
host="${HOST:-127.0.0.1}"
export PICTARO_GALLERY_DATA="${PICTARO_GALLERY_DATA:-$here/data}"
data="$PICTARO_GALLERY_DATA"
export PICTARO_GALLERY_MODERATION="${PICTARO_GALLERY_MODERATION:-hold}"
case "$PICTARO_GALLERY_MODERATION" in
    show | hold) ;;
    *) echo "serve.sh: PICTARO_GALLERY_MODERATION is show or hold, not '$PICTARO_GALLERY_MODERATION'" >&2; exit 1 ;;
esac
if [ "$PICTARO_GALLERY_MODERATION" = hold ] && [ -z "${PICTARO_GALLERY_MODERATOR_PASSWORD:-}" ]; then
    echo "serve.sh: new pictures wait for approval, but no PICTARO_GALLERY_MODERATOR_PASSWORD opens /moderate" >&2
fi
mkdir -p "$data"
data="$(cd "$data" && pwd)"
export PICTARO_GALLERY_DATA="$data"
run="${PICTARO_GALLERY_RUN:-$data/run}"
log="${PICTARO_GALLERY_LOG:-$data/log}"
workers="${PICTARO_GALLERY_WORKERS:-$(($(nproc) * 2 > 4 ? $(nproc) * 2 : 4))}"
fpm="$(command -v php-fpm || ls /usr/sbin/php-fpm* 2>/dev/null | sort -V | tail -n1 || true)"
nginx="$(command -v nginx || echo /usr/sbin/nginx)"
[ -x "$fpm" ] || { echo "serve.sh: php-fpm is not installed (package php-fpm)" >&2; exit 1; }
[ -x "$nginx" ] || { echo "serve.sh: nginx is not installed (package nginx)" >&2; exit 1; }
php -r "FFI::load('$here/lib/turbojpeg.h');" >/dev/null 2>&1 ||
    { echo "serve.sh: PHP cannot load libturbojpeg.so.0 (packages libturbojpeg0, php-cli with FFI)" >&2; exit 1; }
mkdir -p "$run" "$log"
# What a killed server left behind; uploads under way elsewhere keep their files.
rm -rf "$run"/{client_body,fastcgi,proxy,uwsgi,scgi,php-fpm.sock,nginx.pid,php-fpm.pid}
[ -d "$data/tmp" ] && find "$data/tmp" -type f -mmin +60 -delete

php "$here/migrate.php" >/dev/null

case "$host" in *:*) listen="[$host]:$port" ;; *) listen="$host:$port" ;; esac
extra=""
if [ -n "${PICTARO_GALLERY_DEBUG_LOG:-}" ]; then
    extra=":$(dirname "$PICTARO_GALLERY_DEBUG_LOG")"
fi
# The JPEG decoder and the one class that calls it are loaded once, at start: only that
# preloaded code may call into C, and no request can declare anything foreign.
fpm_user="" nginx_user=""
fpm_flags=(-d ffi.enable=preload -d "ffi.preload=$here/lib/turbojpeg.h" -d opcache.enable=1
           -d "opcache.preload=$here/lib/jpegdecoder.php")
if [ "$(id -u)" -eq 0 ]; then
    # Both refuse root unless told; a real host runs this as its own user (see the README).
    echo "serve.sh: running as root; use a dedicated user on a real host" >&2
    fpm_user="user = root"
    nginx_user="user root;"
    # A user namespace that may not set groups (an unprivileged container): nginx could not
    # switch its workers' user, so one process serves.
    [ "$(cat /proc/self/setgroups 2>/dev/null)" = deny ] && nginx_user="user root; master_process off;"
    fpm_flags+=(--allow-to-run-as-root -d opcache.preload_user=root)
fi
render() { # <template> <output>
    sed -e "s|@RUN@|$run|g" -e "s|@LOG@|$log|g" -e "s|@DATA@|$data|g" -e "s|@SITE@|$here|g" \
        -e "s|@PUBLIC@|$here/public|g" -e "s|@CONF@|$run|g" -e "s|@LISTEN@|$listen|g" \
        -e "s|@WORKERS@|$workers|g" -e "s|@EXTRA_BASEDIR@|$extra|g" -e "s|@USER_LINE@|$2|g" \
        "$here/conf/$1" >"$run/$1"
}
render php-fpm.conf "$fpm_user"
render nginx.conf "$nginx_user"
render fastcgi.conf ""

# Each server also ends if this script is killed outright.
pids=()
stop() {
    trap - TERM INT EXIT
    for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap stop EXIT
trap 'exit 0' TERM INT
ulimit -n "$(ulimit -Hn)" 2>/dev/null || true

setpriv --pdeathsig TERM -- "$fpm" --nodaemonize "${fpm_flags[@]}" --fpm-config "$run/php-fpm.conf" &
pids+=($!)
for _ in $(seq 100); do [ -S "$run/php-fpm.sock" ] && break; sleep 0.05; done
[ -S "$run/php-fpm.sock" ] || { echo "serve.sh: PHP-FPM did not start; see $log/php-fpm.log" >&2; exit 1; }
setpriv --pdeathsig TERM -- "$nginx" -p "$run" -e "$log/nginx-error.log" -c "$run/nginx.conf" &
pids+=($!)
echo "serve.sh: the gallery is at http://$listen/baby.php (logs in $log)" >&2
wait -n
echo "serve.sh: a server ended; stopping" >&2
exit 1
