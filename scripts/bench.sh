#!/usr/bin/env bash
# Builds the release configuration and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh --bench
cmake --preset default -DCOLLATRIX_BENCH=ON
cmake --build --preset default
for b in build/bin/bench_*; do
    "$b" "$@"
done
