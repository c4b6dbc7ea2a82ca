#!/usr/bin/env bash
# The embedded server's lifetime with several users at once, on a cluster of the test's own (its own
# working folder and database folder; the test run's server is never touched):
# - two launches started at once on a folder without a cluster, and an export through local-db.sh
#   with-lease: the first launch ends while the second pages through the contacts and the export runs;
#   both go on and finish, and the server stops after the last of them;
# - a launch that starts while the last one is stopping the server waits and gets a running server;
# - a server asked for by hand (ensure) stays up after the launch; stop refuses while a lease is held,
#   and stop --force stops it anyway.
# The launches run a stand-in for the application through scripts/launch.sh, as the run command does.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
launch="$repo/scripts/launch.sh"
local_db="$repo/scripts/local-db.sh"

tmp="$(mktemp -d)"
# As root the cluster belongs to the postgres user, who must be able to reach its folder.
chmod 711 "$tmp"
export QUINTARA_HOME="$tmp/home" QUINTARA_DB_DIR="$tmp/db"
unset QUINTARA_PG_BINDIR PGHOST PGDATABASE PGUSER PGSERVICE PGOPTIONS

# Each background run is a process group of its own, so that a failed test can end all of it.
groups=()
cleanup() {
    local g
    for g in "${groups[@]}"; do kill -TERM -- "-$g" 2>/dev/null || true; done
    for g in "${groups[@]}"; do wait "$g" 2>/dev/null || true; done
    bash "$local_db" stop --force >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A window: one connection for its whole life (the sqlparams.dat of its working folder, the port
# launch.sh gives it), showing the next contact ten times a second for the given number of pages.
# It marks NAME.ready once connected and writes each contact shown to NAME.pages.
cat >"$tmp/window.sh" <<'EOF'
#!/usr/bin/env bash
set -uo pipefail
dir="$(dirname "$0")"; name="$1"; pages="$2"
host=$(sed -n "s/^sqlhost='\([^']*\)'.*/\1/p" sqlparams.dat)
user=$(sed -n "s/.* user='\([^']*\)'.*/\1/p" sqlparams.dat)
{
    echo "SELECT 1 \\g /dev/null"
    echo "\\! touch '$dir/$name.ready'"
    for ((i = 0; i < pages; i++)); do
        echo "SELECT \"RAZON_SOCIAL\" FROM contactos ORDER BY 1 OFFSET $((i % 38)) LIMIT 1;"
        sleep 0.1
    done
} | psql -X -q -tA -v ON_ERROR_STOP=1 -h "$host" -p "$PGPORT" -U "$user" -d quintara >"$dir/$name.pages"
EOF
# An export: one long statement that sends the contacts one by one, a fifth of a second apart.
cat >"$tmp/export.sh" <<'EOF'
#!/usr/bin/env bash
set -uo pipefail
dir="$(dirname "$0")"; name="$1"
host=$(sed -n "s/^sqlhost='\([^']*\)'.*/\1/p" sqlparams.dat)
user=$(sed -n "s/.* user='\([^']*\)'.*/\1/p" sqlparams.dat)
psql -X -q -v ON_ERROR_STOP=1 -h "$host" -p "$PGPORT" -U "$user" -d quintara >"$dir/$name.pages" <<SQL
\\! touch '$dir/$name.ready'
COPY (SELECT c."RAZON_SOCIAL", pg_sleep(0.2) FROM contactos c ORDER BY 1) TO STDOUT;
SQL
EOF
chmod 755 "$tmp/window.sh" "$tmp/export.sh"

# start NAME COMMAND...: runs COMMAND in the background, its output in NAME.log; its pid in pid_NAME.
start() {
    local name="$1"
    shift
    setsid "$@" >"$tmp/$name.log" 2>&1 &
    groups+=("$!")
    printf -v "pid_$name" '%s' "$!"
}
start_window() {  # start_window NAME PAGES [ENVIRONMENT...]
    start "$1" env "${@:3}" bash "$launch" "$tmp/window.sh" "$1" "$2"
}
# Waits up to $2 seconds for the file $1.
wait_for() {
    local i
    for ((i = 0; i < $2 * 20; i++)); do
        [[ -e "$1" ]] && return 0
        sleep 0.05
    done
    return 1
}
# finish NAME LIMIT: waits up to LIMIT seconds for the run NAME to end; its exit status in status_NAME.
finish() {
    local pid="pid_$1" i status=0
    for ((i = 0; i < $2 * 20; i++)); do
        kill -0 "${!pid}" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "${!pid}" 2>/dev/null; then
        fail "$1 did not end within $2 s"
        kill -TERM -- "-${!pid}" 2>/dev/null || true
    fi
    wait "${!pid}" || status=$?
    printf -v "status_$1" '%s' "$status"
}
db_status() {
    local status=0
    bash "$local_db" status >/dev/null 2>&1 || status=$?
    echo "$status"
}
# expect_run NAME STATUS LINES: the run ended with STATUS and its output holds LINES lines.
expect_run() {
    local status="status_$1" lines
    lines=$(wc -l <"$tmp/$1.pages" 2>/dev/null || echo 0)
    [[ "${!status}" == "$2" ]] || { fail "$1 ended with ${!status}, not $2"; cat "$tmp/$1.log"; }
    [[ "$lines" == "$3" ]] || fail "$1 got $lines of its $3 rows"
}
log_has() { grep -qF -- "$2" "$tmp/$1.log"; }

# --- Two launches and an export: the first launch ends while the others go on ---
# Both launches start at once on a folder without a cluster: one creates it, the other waits for it.
start_window first 20
start_window second 50
wait_for "$tmp/first.ready" 60 || { cat "$tmp/first.log"; fail "the first launch did not connect"; exit 1; }
wait_for "$tmp/second.ready" 60 || { cat "$tmp/second.log"; fail "the second launch did not connect"; exit 1; }
created=$(cat "$tmp/first.log" "$tmp/second.log" | grep -c "creating the database cluster" || true)
[[ $created == 1 ]] || fail "the cluster was created $created times"
# The export runs in the working folder as a qrt run does, holding a lease of its own.
start export env -C "$QUINTARA_HOME" bash "$local_db" with-lease "$tmp/export.sh" export
wait_for "$tmp/export.ready" 30 || fail "the export did not connect"

finish first 20
expect_run first 0 20
log_has first "stopping" && fail "the first launch stopped the server under the others"
[[ $(db_status) == 0 ]] || fail "the server is not running after the first launch ended"
finish second 30
expect_run second 0 50
log_has second "stopping" && fail "the second launch stopped the server under the export"
[[ $(db_status) == 0 ]] || fail "the server is not running after the second launch ended"
finish export 30
expect_run export 0 38
log_has export "stopping the database server" || fail "the export, the last user, did not stop the server"
[[ $(db_status) == 3 ]] || fail "the server is still running after the last user ended"

# --- A launch that starts while the server is being stopped ---
# The stopping launch's pg_ctl takes two seconds before it stops the server, like a slow shutdown.
real_bindir="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)"
mkdir -m 755 "$tmp/pgbin"
ln -s "$real_bindir/initdb" "$tmp/pgbin/initdb"
cat >"$tmp/pgbin/pg_ctl" <<EOF
#!/usr/bin/env bash
if [[ " \$* " == *" stop "* ]]; then sleep 2; fi
exec "$real_bindir/pg_ctl" "\$@"
EOF
chmod 755 "$tmp/pgbin/pg_ctl"

start_window stopping 10 QUINTARA_PG_BINDIR="$tmp/pgbin"
wait_for "$tmp/stopping.ready" 30 || fail "the stopping launch did not connect"
for ((i = 0; i < 400; i++)); do
    log_has stopping "stopping the database server" && break
    sleep 0.05
done
start_window late 20
kill -0 "$pid_stopping" 2>/dev/null || fail "the stop was over before the late launch began (nothing tested)"
finish stopping 30
expect_run stopping 0 10
finish late 60
expect_run late 0 20
log_has late "waiting for the database server to finish stopping" || fail "the late launch did not wait for the stop"
log_has late "starting the database server" || fail "the late launch did not start the server again"
[[ $(db_status) == 3 ]] || fail "the server is still running after the late launch ended"

# --- A server asked for by hand, stop while in use ---
# The launch starts the server; ensure by hand while it runs makes the server the user's, to keep.
start_window by_hand 20
wait_for "$tmp/by_hand.ready" 30 || fail "the launch did not connect"
log_has by_hand "starting the database server" || fail "the launch did not start the server"
bash "$local_db" ensure >/dev/null
refused=0
out="$(bash "$repo/scripts/run.sh" --stop-db 2>&1)" || refused=$?
[[ $refused == 1 && "$out" == *"in use by a Quintara window or command; not stopped"* ]] \
    || fail "stop while a launch runs: status $refused, '$out'"
[[ $(db_status) == 0 ]] || fail "a refused stop stopped the server"
finish by_hand 30
expect_run by_hand 0 20
[[ $(db_status) == 0 ]] || fail "the launch stopped a server asked for by hand"

start_window forced 300
wait_for "$tmp/forced.ready" 30 || fail "the last launch did not connect"
bash "$local_db" stop --force >/dev/null || fail "stop --force failed"
[[ $(db_status) == 3 ]] || fail "stop --force left the server running"
finish forced 30
[[ $status_forced != 0 ]] || fail "the window survived stop --force"
[[ $(db_status) == 3 ]] || fail "the server runs again after the forced stop"

if ((failures)); then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS"
