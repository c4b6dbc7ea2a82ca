#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them.
# Usage: bash scripts/bench.sh [N]                     the expression benchmark (N rounds)
#        bash scripts/bench.sh navigation [ROWS...]    paging steps against their bare statements
#        bash scripts/bench.sh export [ROWS...]        the delimited export against psql's \copy
#        bash scripts/bench.sh import [ROWS...]        the external import against a \copy upsert
# The database benchmarks run on a throwaway cluster of their own, UTF-8 as a real server would be.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTARA_TESTS=OFF >/dev/null
if [[ "${1:-}" == navigation ]]; then
  shift
  cmake --build build/release -j2 --target bench_navigation
  pg_virtualenv -t -c '--locale=C.UTF-8 --encoding=UTF8' ./build/release/bench/bench_navigation "$@"
  exit
fi
[[ "${1:-}" == export ]] && { cmake --build build/release -j2 --target qrt bench_export && exec pg_virtualenv -t -c '--locale=C.UTF-8 --encoding=UTF8' ./build/release/bench/bench_export ./build/release/tools/qrt/qrt "${@:2}"; }
[[ "${1:-}" == import ]] && { cmake --build build/release -j2 --target qrt bench_import && exec pg_virtualenv -t -o fsync=on -c '--locale=C.UTF-8 --encoding=UTF8' ./build/release/bench/bench_import ./build/release/tools/qrt/qrt "${@:2}"; }
cmake --build build/release -j2 --target bench_expr
./build/release/bench/bench_expr "$@"
