# Shared by the site's tests: free ports, waiting for the site, a private PostgreSQL.
# Source it.

free_port() {
    /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

wait_for_site() { # <base address>
    for _ in $(seq 200); do
        curl -s -o /dev/null "$1/" && return 0
        sleep 0.05
    done
    echo "the site did not start at $1"
    return 1
}

# A PostgreSQL server of its own in a temporary folder, on a private port of 127.0.0.1, run
# by an unprivileged user (the system's "postgres" user when this runs as root), with a
# password. Sets PG_DSN for the site.
PG_DIR=""
PG_AS=()
start_postgres() {
    local bin
    bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)"
    [ -x "$bin/initdb" ] || { echo "PostgreSQL is not installed (scripts/deps.sh --test)"; return 1; }
    PG_DIR="$(mktemp -d /tmp/pictaro-pg.XXXXXX)"
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres: "$PG_DIR"
        PG_AS=(runuser -u postgres --)
    fi
    local port password
    port="$(free_port)"
    password="$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')"
    (
        cd /tmp
        "${PG_AS[@]}" sh -c "umask 077 && echo '$password' >'$PG_DIR/password'"
        "${PG_AS[@]}" "$bin/initdb" -D "$PG_DIR/db" -U gallery --pwfile="$PG_DIR/password" \
            -A scram-sha-256 -E UTF8 --no-locale --no-sync >"$PG_DIR/initdb.log" 2>&1 ||
            { cat "$PG_DIR/initdb.log"; exit 1; }
        "${PG_AS[@]}" "$bin/pg_ctl" -D "$PG_DIR/db" -l "$PG_DIR/server.log" -w -t 60 \
            -o "-p $port -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" \
            start >/dev/null || { cat "$PG_DIR/server.log"; exit 1; }
    ) || return 1
    PG_BIN="$bin"
    php -r '$p = new PDO($argv[1]); $p->exec("CREATE DATABASE gallery");' \
        "pgsql:host=127.0.0.1;port=$port;dbname=postgres;user=gallery;password=$password"
    PG_DSN="pgsql:host=127.0.0.1;port=$port;dbname=gallery;user=gallery;password=$password"
}

stop_postgres() {
    [ -n "$PG_DIR" ] || return 0
    (cd /tmp && "${PG_AS[@]}" "$PG_BIN/pg_ctl" -D "$PG_DIR/db" -m immediate stop >/dev/null 2>&1) || true
    rm -rf "$PG_DIR"
    PG_DIR=""
}
