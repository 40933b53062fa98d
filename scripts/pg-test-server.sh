#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and benchmarks, in a directory
# of its own, reachable only through a Unix socket in that directory (no TCP).
#
#   scripts/pg-test-server.sh start DIR   # prints the history URL on stdout
#   scripts/pg-test-server.sh stop DIR    # stops the server and removes DIR
#
# The server refuses to run as root, so as root it runs as the `postgres`
# user Debian's package makes (or `korvel-test`, made when missing). The
# database `korvel` belongs to the user `korvel`, whose password is in the
# URL. Start writes DIR/server.log; stop removes it with the rest.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 64
}
[ $# -eq 2 ] || usage
action=$1
dir=$2

# Debian keeps the server's programs out of PATH, one directory per version.
pg_bin() {
    local newest
    newest=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
    if [ -n "$newest" ]; then
        echo "$newest"
    elif command -v pg_ctl >/dev/null; then
        dirname "$(command -v pg_ctl)"
    else
        echo "pg-test-server: no PostgreSQL server installed (scripts/install-deps.sh)" >&2
        exit 1
    fi
}

# The unprivileged owner of the server's files when running as root.
server_user() {
    for user in postgres korvel-test; do
        if id -u "$user" >/dev/null 2>&1; then
            echo "$user"
            return
        fi
    done
    useradd --system --no-create-home --shell /usr/sbin/nologin korvel-test
    echo korvel-test
}

# Runs a command as the server's owner (as oneself unless root).
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$(stat -c %U "$dir")" -- "$@"
    else
        "$@"
    fi
}

random_word() {
    od -An -N16 -tx1 /dev/urandom | tr -d ' \n'
}

start() {
    local bin admin_password password
    bin=$(pg_bin)
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if [ "$(id -u)" -eq 0 ]; then
        chown "$(server_user)" "$dir"
    fi
    chmod 700 "$dir"
    admin_password=$(random_word)
    password=$(random_word)
    as_owner sh -c 'umask 077; cat > "$1"' sh "$dir/admin-password" <<<"$admin_password"
    as_owner "$bin/initdb" --pgdata="$dir/data" --username=korvel_admin \
        --pwfile="$dir/admin-password" --auth=scram-sha-256 --encoding=UTF8 --locale=C --no-sync \
        >"$dir/initdb.log" 2>&1 || {
        cat "$dir/initdb.log" >&2
        exit 1
    }
    as_owner "$bin/pg_ctl" --pgdata="$dir/data" --log="$dir/server.log" --wait --timeout=60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c max_connections=60" \
        start >/dev/null || {
        cat "$dir/server.log" >&2
        exit 1
    }
    PGPASSWORD=$admin_password "$bin/psql" --quiet --no-psqlrc --set=ON_ERROR_STOP=1 \
        --host="$dir" --username=korvel_admin --dbname=postgres >/dev/null <<SQL
CREATE ROLE korvel LOGIN PASSWORD '$password';
CREATE DATABASE korvel OWNER korvel ENCODING 'UTF8' TEMPLATE template0;
SQL
    echo "postgresql://korvel:$password@/korvel?host=$dir"
}

stop() {
    local bin
    bin=$(pg_bin)
    [ -d "$dir" ] || return 0
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin/pg_ctl" --pgdata="$dir/data" --mode=fast --wait stop >/dev/null || true
    fi
    rm -rf "$dir"
}

case "$action" in
    start) start ;;
    stop) stop ;;
    *) usage ;;
esac
