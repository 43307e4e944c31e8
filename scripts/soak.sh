#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# 200 downloads from the simulated tester in one process, each saved, in the AddressSanitizer
# build so that LeakSanitizer checks the exit (about 4 minutes). See bench/soak_transfers.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset asan -DCOLLATRIX_BENCH=ON >/dev/null
flock /tmp/collatrix-build.lock cmake --build --preset asan --target soak_transfers
# A small quarantine keeps freed memory from counting as growth.
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=4" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    nice build-asan/bin/soak_transfers
