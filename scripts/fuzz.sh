#!/usr/bin/env bash
# Fuzzes the runtime's readers of outside input. Builds the targets of tests/fuzz/ with clang under
# AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer in build/fuzz, then either
#   scripts/fuzz.sh [SECONDS]   runs every target for SECONDS (default 60), starting from its corpus
#                               in tests/fuzz/corpus/<name>/ (FUZZ_JOBS=2 runs two targets at a time), or
#   scripts/fuzz.sh --replay    runs every target over its committed corpus only, once per input.
# Each target works in build/fuzz/run/<name>/: scratch/ is the only folder the runtime may touch and
# receives the fuzzer's crash reports, corpus/ the new inputs found. The exit status is 1 when a
# target crashed or broke a property, and names the inputs that did.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

mode=fuzz
seconds=60
case "${1:-}" in
  --replay) mode=replay ;;
  "") ;;
  *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS] | --replay" >&2; exit 2 ;;
  *) seconds=$1 ;;
esac
jobs=${FUZZ_JOBS:-1}

# Absolute: a target works in its scratch folder, so relative paths would not reach the corpus.
build=$PWD/build/fuzz
cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2

targets=()
for src in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  targets+=("${name%_fuzz}")
done

export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

# Replays one target's committed inputs; prints one line and fails when one of them does.
replay() {
  local name=$1 corpus=$PWD/tests/fuzz/corpus/$1
  local inputs=("$corpus"/*)
  local log="$build/run/$name.replay.log"
  mkdir -p "$build/run"
  if "$build/${name}_fuzz" -runs=1 "${inputs[@]}" </dev/null >"$log" 2>&1; then
    echo "fuzz replay: $name: ${#inputs[@]} inputs clean"
  else
    echo "fuzz replay: $name FAILED (log: $log)"
    grep -E 'Running: |ERROR|SUMMARY|broken property|runtime error' "$log" | tail -n 5
    return 1
  fi
}

# Fuzzes one target for the given time; prints its executions and what it found.
fuzz() {
  local name=$1 run=$build/run/$1
  rm -rf "$run"
  mkdir -p "$run/scratch" "$run/corpus"
  local status=0
  QUINTARA_FUZZ_ROOT="$run/scratch" "$build/${name}_fuzz" "$run/corpus" "$PWD/tests/fuzz/corpus/$name" \
    -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$run/scratch/" </dev/null >"$run/log" 2>&1 || status=$?
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)
  local found
  found=$(find "$run/scratch" -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' -o -name 'oom-*' \) | sort)
  if [[ $status -eq 0 && -z "$found" ]]; then
    echo "fuzz: $name: ${execs:-?} executions in ${seconds}s, nothing found"
  else
    echo "fuzz: $name: ${execs:-?} executions, FOUND (exit $status, log: $run/log)"
    grep -E 'ERROR|SUMMARY|broken property|runtime error' "$run/log" | head -n 5
    for f in $found; do echo "  input: $f"; done
    return 1
  fi
}

failed=0
if [[ $mode == replay ]]; then
  for t in "${targets[@]}"; do replay "$t" || failed=1; done
  exit "$failed"
fi

# Up to $jobs targets at a time; each reports when it ends.
pids=()
for t in "${targets[@]}"; do
  fuzz "$t" &
  pids+=($!)
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || failed=1; done
done
for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
# Statuses of the jobs that ended in the loop above were collected there; the rest are re-read from
# the logs' reports.
for t in "${targets[@]}"; do
  if find "$build/run/$t/scratch" -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' -o -name 'oom-*' \) | grep -q .; then failed=1; fi
done
exit "$failed"
