#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release configuration and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh --bench
cmake --preset default -DCOLLATRIX_BENCH=ON
cmake --build --preset default
# A benchmark that misses its target exits non-zero; the ones after it still run.
status=0
for b in build/bin/bench_*; do
    # The archive's benchmark measures PostgreSQL too, on a throwaway server.
    case $b in
    */bench_archive | */bench_due) tests/with-postgres.sh "$b" "$@" || status=1 ;;
    *) "$b" "$@" || status=1 ;;
    esac
done
exit $status
