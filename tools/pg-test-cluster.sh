#!/bin/sh
# pg-test-cluster.sh start|stop DIR: a throwaway PostgreSQL cluster for the server tests and the load benchmark.
# The cluster lives in DIR/data and listens only on a Unix socket in DIR (no TCP port at all), where anyone on this
# machine may connect as the superuser "vardel" without a password: acceptable for a folder of test data, never
# for real records. initdb refuses to run as root; run as root, the script runs the server as the system user
# vardel-pg (created when missing), or as nobody where it cannot create one.
# Without PostgreSQL's programs it says so and succeeds, and the tests that need a server skip themselves.
set -e
usage() { echo "usage: $0 start|stop DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
action=$1
dir=$2

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "pg-test-cluster: PostgreSQL's programs are not installed (apt-get install postgresql); the server tests will skip" >&2
    exit 0
fi

owner=""
if [ "$(id -u)" -eq 0 ]; then
    owner=vardel-pg
    if ! id "$owner" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$owner" 2>/dev/null ||
            owner=nobody
    fi
fi
as_owner() {
    if [ -n "$owner" ]; then runuser -u "$owner" -- "$@"; else "$@"; fi
}

case "$action" in
start)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    # A fresh folder of this script's own: one that somebody else made in its place (in /tmp) is refused.
    mkdir "$dir"
    dir=$(cd "$dir" && pwd)
    # A Unix socket's path holds at most 107 bytes.
    if [ $(printf '%s/.s.PGSQL.5432' "$dir" | wc -c) -gt 107 ]; then
        echo "pg-test-cluster: $dir is too long a path for the server's socket; use a shorter build folder" >&2
        exit 1
    fi
    chmod 0755 "$dir"
    # PostgreSQL refuses to run as root, and a system may let no other user run anything at all (a root folder
    # closed to others, as in some build chroots): the tests are then told why and skip, rather than fail.
    if [ -n "$owner" ] && ! runuser -u "$owner" -- "$bindir/initdb" --version >/dev/null 2>&1; then
        echo "PostgreSQL is installed, but it refuses to run as root and the user $owner cannot run" \
            "$bindir/initdb on this system (a folder on the way, such as /, is closed to other users):" \
            "no server to test against" | tee "$dir/unavailable" >&2
        exit 0
    fi
    [ -z "$owner" ] || chown "$owner" "$dir"
    as_owner "$bindir/initdb" -D "$dir/data" -U vardel --auth=trust --encoding=UTF8 --locale=C.UTF-8 --no-sync \
        >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    # The socket only, and only this machine's users through it.
    echo "local all all trust" | as_owner tee "$dir/data/pg_hba.conf" >/dev/null
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c max_connections=100" \
        start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    echo "pg-test-cluster: listening on the socket in $dir"
    ;;
stop)
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    fi
    rm -rf "$dir"
    ;;
*)
    usage
    ;;
esac
