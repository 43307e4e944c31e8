#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the picture generator and redraws every picture under resources/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
flock /tmp/collatrix-build.lock cmake --build "$build" -j2 --target collatrix-drawpictures
QT_QPA_PLATFORM=offscreen "$build/bin/collatrix-drawpictures" resources
