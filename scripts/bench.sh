#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them. Usage: bash scripts/bench.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTARA_TESTS=OFF >/dev/null
cmake --build build/release -j2 --target bench_expr
./build/release/bench/bench_expr "$@"
