#!/usr/bin/env bash
# Runs the contact directory on a Debian 12 machine: installs what is missing, builds the release
# build in build/release (the first run builds it, later runs only bring it up to date), and starts
# the application through scripts/launch.sh on the embedded default database.
#
# Usage: run.sh [--stop-db [--force]] [--db-from FOLDER] [--lang XX] [ARGUMENTS...]
#   --stop-db          stops the embedded database server and ends; while a window or a command still
#                      uses it, it refuses unless --force is given (see local-db.sh stop)
#   --db-from FOLDER   uses FOLDER's sqlparams.dat (a server of the user's own); see launch.sh
#   --lang XX          the language (es, en, fr, de, it) instead of the locale's; see launch.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [[ "${1:-}" == "--stop-db" ]]; then
    exec bash scripts/local-db.sh stop "${@:2}"
fi

bash scripts/install-deps.sh

build=build/release
log="$build/build.log"
mkdir -p "$build"
if [[ ! -x "$build/app/quintara" ]]; then
    echo "run: building the release build in $build (the first time takes a few minutes)"
fi
# The build's own output goes to a log; a failure shows its end.
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTARA_TESTS=OFF \
       && cmake --build "$build" -j2 --target quintara; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "run: the build failed; the whole output is in $log" >&2
    exit 1
fi

exec bash scripts/launch.sh "$build/app/quintara" "$@"
