#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the pictures of the help pages from the real program, offscreen, against the simulated
# tester and the demonstration archive (scripts/demo-archive.sh, built in a temporary folder),
# and writes them into Help/Images. Usage: scripts/screenshots.sh [BUILD_FOLDER]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The machine's cores are shared: builds queue on one lock.
flock /tmp/collatrix-build.lock cmake --build "$build" -j2 --target collatrix-screenshots collatrix-help \
    collatrix-cli collatrix-tester
demo=$(mktemp -d -t collatrix-demo.XXXXXX)
trap 'rm -rf "$demo"' EXIT
"$root/scripts/demo-archive.sh" "$demo" "$build/bin" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/collatrix-screenshots" "$root/Help/Images" "$demo"
# The help window shows the pages of the build folder; give it the new pictures too.
flock /tmp/collatrix-build.lock cmake --build "$build" --target collatrix-help
ls -l "$root/Help/Images"
