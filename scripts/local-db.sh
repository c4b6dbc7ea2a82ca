#!/usr/bin/env bash
# The embedded default database of the contact directory: a PostgreSQL cluster of the user's own,
# reachable only through a Unix socket in its folder (no TCP port), with the database "quintara"
# holding the table contactos and its sample contacts.
#
# Usage: local-db.sh ensure|stop [--force]|status|params|with-lease COMMAND [ARGUMENTS...]
#   ensure      creates the cluster on first use (initdb), starts it when it is not running, and creates
#               and fills the database "quintara" when it does not exist yet; the server then stays
#               up when the lease holders end (it is the user's own until stop)
#   stop        stops the cluster when it is running; while a window or command holds a lease on it
#               (with-lease) it refuses with exit status 1, unless --force is given
#   status      exit status 0 when the cluster is running, 3 when it is not (the one of pg_ctl status)
#   params      prints the connection-parameter line (sqlparams.dat) that reaches the database
#   with-lease  runs COMMAND (in the current folder, PGPORT set to the socket's port) while holding a
#               lease on the server: ensures the server first, and when COMMAND has ended and no other
#               lease is held, stops the server again if a lease holder started it. The exit status is
#               COMMAND's. launch.sh runs the application this way; run qrt this way too.
#
# Server lifetime: every user of the server through with-lease holds a shared flock on
# <folder>/.server.lease for as long as it runs. The kernel drops the lock of a process that ends in any
# way, so a killed window never keeps the server pinned and never makes a count go wrong. At its end a
# holder tries to take the lock exclusively without waiting: only the last one gets it, and it stops
# the server while still holding it, so a launch that starts meanwhile waits for the stop to finish
# and then starts the server again. A server started or asked for by hand (ensure) is left running. Starts and stops themselves are serialised by <folder>/.server.lock.
#
# Folders: the application's home is ${QUINTARA_HOME:-${XDG_DATA_HOME:-~/.local/share}/quintara}.
# The cluster lives in <folder>/pgdata and listens in <folder>, where <folder> is the home for an
# ordinary user. PostgreSQL refuses to run as root and could not enter /root anyway, so for root the
# cluster belongs to the postgres user and <folder> is ${QUINTARA_DB_DIR:-/var/lib/quintara}.
# QUINTARA_DB_DIR chooses <folder> for an ordinary user too. QUINTARA_PG_BINDIR chooses the folder of
# the server programs (initdb, pg_ctl); by default the newest PostgreSQL installed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
db_name=quintara
port=5432

die() {
    echo "local-db: $*" >&2
    exit 1
}

app_home="${QUINTARA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/quintara}"
if [[ $(id -u) -eq 0 ]]; then
    db_dir="${QUINTARA_DB_DIR:-/var/lib/quintara}"
    db_owner=postgres
    as_owner=(runuser -u postgres --)
else
    db_dir="${QUINTARA_DB_DIR:-$app_home}"
    db_owner="$(id -un)"
    as_owner=()
fi
# Absolute folders: the server resolves a relative one against its own data folder.
app_home="$(realpath -m "$app_home")"
db_dir="$(realpath -m "$db_dir")"
pgdata="$db_dir/pgdata"
server_log="$db_dir/postgresql.log"
lease_file="$db_dir/.server.lease"
control_file="$db_dir/.server.lock"
# The postmaster's process id when a lease holder started the server (see started_by_lease).
started_file="$db_dir/.server.started-by-lease"
lease_fd=""
control_fd=""

# The server programs of the newest PostgreSQL installed; Debian keeps them off the PATH.
find_bindir() {
    local dir
    if [[ -n "${QUINTARA_PG_BINDIR:-}" ]]; then
        [[ -x "$QUINTARA_PG_BINDIR/initdb" && -x "$QUINTARA_PG_BINDIR/pg_ctl" ]] \
            || die "QUINTARA_PG_BINDIR: no initdb and pg_ctl in $QUINTARA_PG_BINDIR"
        echo "$QUINTARA_PG_BINDIR"
        return
    fi
    for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -t/ -k4,4n -r); do
        [[ -x "$dir/initdb" && -x "$dir/pg_ctl" ]] && { echo "$dir"; return; }
    done
    if command -v pg_ctl >/dev/null 2>&1 && command -v initdb >/dev/null 2>&1; then
        dirname "$(command -v pg_ctl)"
        return
    fi
    die "no PostgreSQL server programs (initdb, pg_ctl) found; install the package postgresql"
}

# The sample contacts: next to this script when installed, in the source tree otherwise.
find_sample() {
    local candidate
    for candidate in "${QUINTARA_SAMPLE_SQL:-}" "$here/contactos.sql" "$here/../../share/quintara/contactos.sql" \
                     "$here/../app/data/contactos.sql"; do
        [[ -n "$candidate" && -f "$candidate" ]] && { echo "$candidate"; return; }
    done
    die "the sample data contactos.sql was not found"
}

# A text as a single-quoted value of postgresql.conf or of a parameter file.
quoted() {
    printf "'%s'" "${1//\'/\'\'}"
}

# A server program as the cluster's owner, run from / (which the postgres user can always enter).
# The server started through it outlives this script: it must not inherit the lease or the control
# lock, or the lock would stay held for as long as the server runs.
pg() {
    (
        if [[ -n "$lease_fd" ]]; then exec {lease_fd}>&-; fi
        if [[ -n "$control_fd" ]]; then exec {control_fd}>&-; fi
        cd / && "${as_owner[@]}" "$bindir/$1" "${@:2}"
    )
}

# psql of this cluster, on its socket, as its superuser.
cluster_psql() {
    (cd / && "${as_owner[@]}" env -u PGSERVICE -u PGOPTIONS psql -X -q -v ON_ERROR_STOP=1 \
        -h "$db_dir" -p "$port" -U "$db_owner" "$@")
}

is_running() {
    [[ -f "$pgdata/PG_VERSION" ]] || return 3
    pg pg_ctl status -D "$pgdata" >/dev/null 2>&1
}

# The process id of the running postmaster (the first line of its pid file).
postmaster_pid() {
    head -n 1 "$pgdata/postmaster.pid" 2>/dev/null || true
}

# Whether the running server was started by a lease holder: the process id recorded at its start is
# the running postmaster's, so a record left by an earlier server (a crash, a reboot) does not count.
started_by_lease() {
    is_running || return 1
    local recorded current
    recorded="$(cat "$started_file" 2>/dev/null || true)"
    current="$(postmaster_pid)"
    [[ -n "$recorded" && "$recorded" == "$current" ]]
}

# Starts and stops are serialised: two first launches at once must not both run initdb or pg_ctl start.
lock_control() {
    # Already held when a failed start ends a lease (the exit trap runs with the lock still taken).
    [[ -z "$control_fd" ]] || return 0
    exec {control_fd}>>"$control_file"
    flock -x "$control_fd"
}
unlock_control() {
    flock -u "$control_fd"
    exec {control_fd}>&-
    control_fd=""
}

make_folder() {
    mkdir -p "$db_dir"
    if [[ $(id -u) -eq 0 ]]; then
        id -u postgres >/dev/null 2>&1 || die "running as root needs the postgres user (package postgresql)"
        chown postgres: "$db_dir"
    fi
    chmod 700 "$db_dir"
}

init_cluster() {
    # A socket path is limited to 107 bytes; a deeper folder would fail only at the first start.
    local socket="$db_dir/.s.PGSQL.$port"
    (( ${#socket} <= 107 )) || die "the socket path $socket is too long; set QUINTARA_DB_DIR to a shorter folder"
    make_folder
    echo "local-db: creating the database cluster in $pgdata"
    # A half-made cluster of an interrupted first run is made again.
    [[ -d "$pgdata" && ! -f "$pgdata/PG_VERSION" ]] && rm -rf "$pgdata"
    pg initdb -D "$pgdata" -U "$db_owner" -E UTF8 --locale=C.UTF-8 \
        --auth-local=trust --auth-host=reject >"$db_dir/initdb.log" 2>&1 \
        || { cat "$db_dir/initdb.log" >&2; rm -rf "$pgdata"; die "initdb failed"; }
    # Only the Unix socket in our folder: no TCP port, nothing in /var/run/postgresql.
    (cd / && "${as_owner[@]}" tee -a "$pgdata/postgresql.conf") >/dev/null <<EOF

# The contact directory's embedded database: a Unix socket in its own folder only.
listen_addresses = ''
port = $port
unix_socket_directories = $(quoted "$db_dir")
EOF
}

start_cluster() {
    echo "local-db: starting the database server"
    pg pg_ctl start -D "$pgdata" -w -t 60 -s -l "$server_log" \
        || { tail -n 20 "$server_log" >&2 2>/dev/null || true; die "the database server did not start"; }
}

# The database and its sample data, in one go: a load that fails leaves no database behind, so the
# next run tries again.
ensure_database() {
    local exists
    exists=$(cluster_psql -d postgres -tA -c "SELECT 1 FROM pg_database WHERE datname = '$db_name'")
    [[ "$exists" == 1 ]] && return
    echo "local-db: creating the database $db_name with the sample contacts"
    cluster_psql -d postgres -c "CREATE DATABASE $db_name ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8' TEMPLATE template0"
    if ! cluster_psql -d "$db_name" --single-transaction -f - <"$(find_sample)"; then
        cluster_psql -d postgres -c "DROP DATABASE IF EXISTS $db_name" || true
        die "loading the sample contacts failed"
    fi
}

# Creates, starts and fills the cluster as needed. $1 is "lease" when a lease holder asks, so that the
# server it starts is stopped again by the last lease holder. Asked by hand, the server is the user's
# from then on, whoever started it, and the lease holders leave it running.
ensure_server() {
    lock_control
    [[ -f "$pgdata/PG_VERSION" ]] || init_cluster
    if ! is_running; then
        start_cluster
        if [[ "${1:-}" == lease ]]; then postmaster_pid >"$started_file"; fi
    fi
    [[ "${1:-}" == lease ]] || rm -f "$started_file"
    ensure_database
    unlock_control
}

# Called holding the control lock. Every connection still open is ended (fast shutdown): by now no
# lease holder is left, and a smart shutdown would wait for a stray session while refusing new ones.
stop_server() {
    echo "local-db: stopping the database server"
    pg pg_ctl stop -D "$pgdata" -m fast -w -s
    rm -f "$started_file"
}

# The end of a lease (the exit trap of with-lease).
end_lease() {
    [[ -n "$lease_fd" ]] || return 0
    if flock -x -n "$lease_fd"; then
        # No other holder is left; holding the lock exclusively, a launch that starts now waits.
        lock_control
        if started_by_lease; then
            stop_server || echo "local-db: the database server did not stop" >&2
        fi
        unlock_control
    elif started_by_lease; then
        echo "local-db: the database server stays up for the Quintara windows or commands still using it"
    fi
    # Unlocked explicitly: a process COMMAND left behind shares this open file and would keep the lock.
    flock -u "$lease_fd" || true
}

with_lease() {
    [[ $# -ge 1 ]] || { echo "usage: local-db.sh with-lease COMMAND [ARGUMENTS...]" >&2; exit 2; }
    bindir="$(find_bindir)"
    make_folder
    exec {lease_fd}>>"$lease_file"
    if ! flock -s -n "$lease_fd"; then
        echo "local-db: waiting for the database server to finish stopping"
        flock -s "$lease_fd"
    fi
    trap end_lease EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP
    ensure_server lease
    # The socket file of the embedded server is named after this port, whatever the environment says.
    export PGPORT=$port
    # COMMAND inherits the lease: should this script be killed, the server is still not stopped under
    # COMMAND by another holder's end.
    local status=0
    "$@" || status=$?
    exit "$status"
}

command="${1:-}"
case "$command" in
    ensure)
        bindir="$(find_bindir)"
        ensure_server
        ;;
    stop)
        force=0
        case "${2:-}" in
            "") ;;
            --force) force=1 ;;
            *) echo "usage: local-db.sh stop [--force]" >&2; exit 2 ;;
        esac
        bindir="$(find_bindir)"
        is_running || exit 0
        exec {lease_fd}>>"$lease_file"
        # Holding the lease exclusively, like the last lease holder, so that a launch waits for the stop.
        if ! flock -x -n "$lease_fd"; then
            if (( ! force )); then
                echo "local-db: the database server is in use by a Quintara window or command; not stopped" \
                     "(local-db.sh stop --force stops it anyway and disconnects them)" >&2
                exit 1
            fi
            echo "local-db: stopping the database server while Quintara windows or commands still use it"
        fi
        lock_control
        if is_running; then stop_server; fi
        unlock_control
        ;;
    status)
        bindir="$(find_bindir)"
        is_running || exit 3
        ;;
    with-lease)
        shift
        with_lease "$@"
        ;;
    params)
        printf "sqlhost=%s database=%s user=%s passw=''\n" "$(quoted "$db_dir")" "$(quoted "$db_name")" "$(quoted "$db_owner")"
        ;;
    *)
        echo "usage: local-db.sh ensure|stop [--force]|status|params|with-lease COMMAND [ARGUMENTS...]" >&2
        exit 2
        ;;
esac
