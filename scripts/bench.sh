#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them.
# Usage: bash scripts/bench.sh [N]          the expression benchmark (N rounds)
#        bash scripts/bench.sh navigation [ROWS...]   the navigation benchmark on a throwaway cluster
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTARA_TESTS=OFF >/dev/null
if [[ "${1:-}" == navigation ]]; then
  shift
  cmake --build build/release -j2 --target bench_navigation
  # A cluster of its own, dropped afterwards, as the tests use; UTF-8 as a real server would be.
  pg_virtualenv -t -c '--locale=C.UTF-8 --encoding=UTF8' ./build/release/bench/bench_navigation "$@"
  exit
fi
cmake --build build/release -j2 --target bench_expr
./build/release/bench/bench_expr "$@"
