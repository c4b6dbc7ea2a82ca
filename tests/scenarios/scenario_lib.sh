# The contact directory on a real X server, driven from outside the process as a user drives it.
# Each scenario sources this file: it starts its own Xvfb on a free display, makes a database of its
# own on the test run's server (the PG* variables) with the sample contacts, starts the application
# through scripts/launch.sh as the run command does, and sends keys and clicks with xdotool.
# Outcomes are checked in the database and in files; screenshots go to $SCENARIO_SHOTS.
#
# Needs: QUINTARA_BINARY (the program), SCENARIO_SHOTS (a folder), the PG* variables of a server.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
: "${QUINTARA_BINARY:?the program to run}"
: "${SCENARIO_SHOTS:=$PWD/screenshots}"
mkdir -p "$SCENARIO_SHOTS"

scen_tmp="$(mktemp -d /tmp/quintara-scenario.XXXXXX)"
scen_db="scen_$(basename "$scen_tmp" | tr -c 'a-zA-Z0-9\n' '_' | tr 'A-Z' 'a-z')"
xvfb_pid=""
app_pid=""

scen_log() { echo "scenario: $*" >&2; }
# Failures are kept in a file: checks also fail inside command substitutions (subshells).
fail() {
    scen_log "FAIL: $*"
    echo "$*" >>"$scen_tmp/failures"
}

scen_cleanup() {
    local status=$?
    # The launch runs in a process group of its own: the program goes with its launcher.
    if [[ -n "$app_pid" ]]; then
        kill -TERM -- "-$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    dropdb --if-exists "$scen_db" >/dev/null 2>&1 || true
    psql -X -q -d postgres -c "DROP ROLE IF EXISTS $scen_db" >/dev/null 2>&1 || true
    [[ -n "${SCENARIO_KEEP:-}" ]] || rm -rf "$scen_tmp"
    exit "$status"
}
trap scen_cleanup EXIT

# Xvfb picks a free display itself and writes its number to the descriptor it is given.
scen_start_x() {
    local fifo="$scen_tmp/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>"$scen_tmp/xvfb.log" &
    xvfb_pid=$!
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -s "$fifo" ]] && break
        sleep 0.1
    done
    [[ -s "$fifo" ]] || { scen_log "Xvfb did not start"; cat "$scen_tmp/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$fifo")"
    unset QT_QPA_PLATFORM
    export QT_QPA_PLATFORM=xcb
}

sql() { psql -X -q -A -t -v ON_ERROR_STOP=1 -d "$scen_db" -c "$1"; }

# A database of the scenario's own holding the sample contacts, and the folder whose sqlparams.dat
# points at it (launch.sh --db-from).
scen_make_db() {
    createdb -E UTF8 -T template0 "$scen_db"
    psql -X -q -v ON_ERROR_STOP=1 -d "$scen_db" -f "$repo/app/data/contactos.sql" >/dev/null
    mkdir -p "$scen_tmp/dbfrom" "$scen_tmp/home/Documents"
    printf "sqlhost='%s' database='%s' user='%s' passw='%s'\n" "${PGHOST:-localhost}" "$scen_db" "${PGUSER:-$USER}" \
        "${PGPASSWORD:-}" >"$scen_tmp/dbfrom/sqlparams.dat"
}

# Starts the application as the run command does, in a working folder of the scenario's own, in
# Spanish whatever the machine's locale (the scenarios answer Spanish questions).
scen_launch() {
    HOME="$scen_tmp/home" QUINTARA_HOME="$scen_tmp/work" ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" \
        setsid bash "$repo/scripts/launch.sh" "$QUINTARA_BINARY" --db-from "$scen_tmp/${1:-dbfrom}" --lang es \
        >"$scen_tmp/app.out" 2>"$scen_tmp/app.err" &
    app_pid=$!
}

# The id of the visible window with exactly that title, waiting for it up to 20 seconds.
window() {
    local name="$1" id="" i
    for ((i = 0; i < 200; i++)); do
        id="$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | tail -n1 || true)"
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        if [[ -n "$app_pid" ]] && ! kill -0 "$app_pid" 2>/dev/null; then break; fi
        sleep 0.1
    done
    return 1
}

# Waits for the window and checks it has the keyboard focus, as a user expects of a new question.
expect_window() {
    local name="$1" id
    if ! id="$(window "$name")"; then
        fail "no window '$name' (showing: $(showing))"
        shot "missing-$(echo "$name" | tr -c 'a-zA-Z0-9' '_')"
        return 1
    fi
    settle
    echo "$id"
}

# The titles of the visible windows, for messages.
showing() {
    local id names=""
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        names+="'$(xdotool getwindowname "$id" 2>/dev/null)' "
    done
    echo "${names:-nothing}"
}

gone() {
    local name="$1" i
    for ((i = 0; i < 100; i++)); do
        xdotool search --onlyvisible --name "^${name}\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window '$name' still showing"
    return 1
}

settle() { sleep "${SCENARIO_SETTLE:-0.4}"; }
key() { xdotool key --delay 60 "$@"; settle; }
type_text() { xdotool type --delay 40 "$1"; settle; }
# A click at a point of a window (window coordinates).
click_in() {
    xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
    settle
}
double_click_in() {
    xdotool mousemove --window "$1" "$2" "$3" click --repeat 2 --delay 80 1
    settle
}

shot() { import -window root "$SCENARIO_SHOTS/scenario_$1.png" 2>/dev/null || fail "screenshot $1"; }

# The contact dialog after the start, with the keyboard.
scen_dialog() {
    expect_window "Quintara de Contactos" >/dev/null || { cat "$scen_tmp/app.err" >&2; exit 1; }
}

# The dialog answers the keyboard and the mouse: Ctrl+Home shows the first contact, whose NOMBRE is
# then clicked, retyped and saved with Ctrl+S; the change is in the table.
expect_dialog_answers() {
    local mark="$1" first
    first="$(sql "SELECT \"RAZON_SOCIAL\" FROM contactos ORDER BY \"RAZON_SOCIAL\" LIMIT 1")"
    key ctrl+Home
    # A click in NOMBRE (the dialog's layout is fixed: the edit's middle in window coordinates).
    click_in "$(window "Quintara de Contactos")" 290 114
    key ctrl+a
    type_text "$mark"
    key ctrl+s
    local stored
    stored="$(sql "SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = '${first//\'/\'\'}'")"
    [[ "$stored" == "$mark" ]] || fail "the dialog did not answer Ctrl+Home and Ctrl+S afterwards (NOMBRE '$stored')"
}

# Ends the program with Escape, as a user does, and checks that it ends.
scen_quit() {
    key Escape
    local i
    for ((i = 0; i < 100; i++)); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        fail "the program still runs after Escape (showing: $(showing))"
        return
    fi
    wait "$app_pid" || fail "the program ended with status $?"
    app_pid=""
}

scen_end() {
    if [[ -s "$scen_tmp/failures" ]]; then
        scen_log "$(wc -l <"$scen_tmp/failures") check(s) failed; app stderr:"
        tail -n 30 "$scen_tmp/app.err" >&2 || true
        exit 1
    fi
    scen_log "passed"
}

# Confirms a field-entry dialog as a user does with the keyboard: Return in each field in turn, the
# last one confirming. Fails when the dialog does not go.
confirm_form() {
    local id="$1" i
    for ((i = 0; i < 30; i++)); do
        xdotool getwindowname "$id" >/dev/null 2>&1 || return 0
        xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$id" || return 0
        key Return
    done
    fail "the dialog '$(xdotool getwindowname "$id" 2>/dev/null)' did not take Return as its confirmation"
    return 1
}

# A new visible window other than those given, waiting for it; its id.
new_window() {
    local i id
    for ((i = 0; i < 200; i++)); do
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
