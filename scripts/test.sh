#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the normal build and in
# the AddressSanitizer + UndefinedBehaviorSanitizer build. Then runs each fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh --test
export QT_QPA_PLATFORM=offscreen
for preset in default asan; do
    echo "== $preset build =="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

echo "== fuzz targets =="
scripts/fuzz.sh "${FUZZ_SECONDS:-25}"
