#!/usr/bin/env bash
# Passes the test suite on a Debian 12 machine: installs what is missing, checks the layering of the
# sources, builds the sanitized test build in build/test, replays the fuzz corpora (build/fuzz), and
# runs every test against a throwaway PostgreSQL cluster and the offscreen desktop. The exit status is
# ctest's, or the replay's when only that failed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

# A file that includes a layer above its own fails the run before anything is built.
bash scripts/check-layers.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUINTARA_SANITIZE=ON -DQUINTARA_TESTS=ON
# Two jobs: the machines that run this have two cores, and sanitized Qt translation units are large.
cmake --build "$build" -j2

# Every fuzz target runs once over each input of its committed corpus (no new inputs), so that a crash
# the fuzzer once found stays fixed.
replay=0
bash scripts/fuzz.sh --replay || replay=$?

export QT_QPA_PLATFORM=offscreen
# Any sanitizer report ends the test program with a failure and shows where it happened.
export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

# pg_virtualenv creates a cluster, exports PGHOST, PGPORT, PGUSER, PGPASSWORD and PGDATABASE for the
# command, and drops the cluster afterwards. -t keeps it in a temporary folder even as root, so a run
# never touches /etc/postgresql nor clashes with another run or a cluster left by an interrupted one.
# The database is UTF-8 whatever the caller's locale, as a real server's would be.
log="$build/ctest.log"
rm -f "$log"
status=0
pg_virtualenv -t -c '--locale=C.UTF-8 --encoding=UTF8' \
  ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 600 -j2 --output-log "$log" \
  || status=$?

# pg_virtualenv's clean-up messages follow ctest's output; repeat ctest's closing lines so that its
# summary is what the run ends with.
if [[ -f "$log" ]]; then
  echo
  sed -n '/% tests passed, /,$p' "$log"
fi
if [[ $replay -ne 0 ]]; then
  echo "fuzz corpus replay failed (see above)"
  [[ $status -ne 0 ]] || status=$replay
fi
exit "$status"
