#!/usr/bin/env bash
# The embedded default database of the contact directory: a PostgreSQL cluster of the user's own,
# reachable only through a Unix socket in its folder (no TCP port), with the database "quintara"
# holding the table contactos and its sample contacts.
#
# Usage: local-db.sh ensure|stop|status|params
#   ensure  creates the cluster on first use (initdb), starts it when it is not running, and creates
#           and fills the database "quintara" when it does not exist yet
#   stop    stops the cluster when it is running
#   status  exit status 0 when the cluster is running, 3 when it is not (the one of pg_ctl status)
#   params  prints the connection-parameter line (sqlparams.dat) that reaches the database
#
# Folders: the application's home is ${QUINTARA_HOME:-${XDG_DATA_HOME:-~/.local/share}/quintara}.
# The cluster lives in <folder>/pgdata and listens in <folder>, where <folder> is the home for an
# ordinary user. PostgreSQL refuses to run as root and could not enter /root anyway, so for root the
# cluster belongs to the postgres user and <folder> is ${QUINTARA_DB_DIR:-/var/lib/quintara}.
# QUINTARA_DB_DIR chooses <folder> for an ordinary user too.
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

# The server programs of the newest PostgreSQL installed; Debian keeps them off the PATH.
find_bindir() {
    local dir
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
pg() {
    (cd / && "${as_owner[@]}" "$bindir/$1" "${@:2}")
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

command="${1:-}"
case "$command" in
    ensure)
        bindir="$(find_bindir)"
        [[ -f "$pgdata/PG_VERSION" ]] || init_cluster
        is_running || start_cluster
        ensure_database
        ;;
    stop)
        bindir="$(find_bindir)"
        if is_running; then
            echo "local-db: stopping the database server"
            pg pg_ctl stop -D "$pgdata" -m fast -w -s
        fi
        ;;
    status)
        bindir="$(find_bindir)"
        is_running || exit 3
        ;;
    params)
        printf "sqlhost=%s database=%s user=%s passw=''\n" "$(quoted "$db_dir")" "$(quoted "$db_name")" "$(quoted "$db_owner")"
        ;;
    *)
        echo "usage: local-db.sh ensure|stop|status|params" >&2
        exit 2
        ;;
esac
