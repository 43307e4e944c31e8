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
echo "== default build =="
cmake --preset default
cmake --build --preset default
ctest --preset default -j2
# The real-time runs have had their turn above; under the sanitizers they would take a minute
# of CI's ten for code that the scripted line's tests already take through every path.
echo "== asan build =="
cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j2 -LE e2e

echo "== fuzz targets =="
scripts/fuzz.sh "${FUZZ_SECONDS:-2}"
