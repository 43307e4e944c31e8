#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for SECONDS (default 60), one after the other, at low priority. Each starts from the seeds
# in fuzz/corpus/<target>/; what it learns goes to build-fuzz/corpus/<target>/, and a crashing
# input to build-fuzz/findings/. Exit status 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
targets=(fuzz_dump fuzz_ascanreply fuzz_settings fuzz_protocol fuzz_kept)

cmake --preset fuzz >/dev/null
flock /tmp/collatrix-build.lock cmake --build --preset fuzz -j2

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p build-fuzz/findings
failed=0
for t in "${targets[@]}"; do
    echo "== $t: ${seconds} s =="
    mkdir -p "build-fuzz/corpus/$t"
    if ! nice build-fuzz/bin/"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$t-" \
            "$PWD/build-fuzz/corpus/$t" "$PWD/fuzz/corpus/$t" 2>"build-fuzz/$t.log"; then
        failed=1
        tail -n 60 "build-fuzz/$t.log"
    fi
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "build-fuzz/$t.log" || true
done
exit "$failed"
