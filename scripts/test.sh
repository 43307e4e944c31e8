#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then builds and runs every test twice: in the normal build and in
# the AddressSanitizer + UndefinedBehaviorSanitizer build. Then runs each fuzz target briefly.
# With --unit: only the unit tests of the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."

export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = "--unit" ]; then
    scripts/setup-debian.sh
    cmake --preset default
    cmake --build --preset default
    exec ctest --preset default -L unit -j2
fi

scripts/setup-debian.sh --test
for preset in default asan; do
    echo "== $preset build =="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j2
done

echo "== fuzz targets =="
scripts/fuzz.sh "${FUZZ_SECONDS:-3}"
