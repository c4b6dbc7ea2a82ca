#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them. Usage: bash scripts/bench.sh [N] | export [ROWS...] | import [ROWS...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTARA_TESTS=OFF >/dev/null
[[ "${1:-}" == export ]] && { cmake --build build/release -j2 --target qrt bench_export && exec pg_virtualenv -t -c '--locale=C.UTF-8 --encoding=UTF8' ./build/release/bench/bench_export ./build/release/tools/qrt/qrt "${@:2}"; }
[[ "${1:-}" == import ]] && { cmake --build build/release -j2 --target qrt bench_import && exec pg_virtualenv -t -o fsync=on -c '--locale=C.UTF-8 --encoding=UTF8' ./build/release/bench/bench_import ./build/release/tools/qrt/qrt "${@:2}"; }
cmake --build build/release -j2 --target bench_expr
./build/release/bench/bench_expr "$@"
