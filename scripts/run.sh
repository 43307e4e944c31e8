#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Collatrix and opens it. Unless a real tester is attached (or --no-simulator is given),
# a simulated tester with a generated data set of A-scan results is linked as ports/COM3 first,
# so Transfer works at once; it is stopped when the program closes.
# --demo opens it on a throwaway archive of five yearly surveys (scripts/demo-archive.sh) in a
# temporary folder, with its own kept downloads and settings, removed when the program closes.
set -euo pipefail
cd "$(dirname "$0")/.."

simulate=1
demo=0
case "${1:-}" in
--no-simulator) simulate=0 ;;
--demo) demo=1 ;;
esac

scripts/setup-debian.sh
cmake --preset default >/dev/null
# Only what this script runs: the program with its help pages, the CLI and the simulator.
cmake --build --preset default --target collatrix collatrix-help collatrix-cli collatrix-tester

bin=build/bin
if [ "$simulate" = 1 ] && "$bin/collatrix-cli" find >/dev/null 2>&1; then
    echo "A tester answers already; starting without the simulated one."
    simulate=0
fi

tester_pid=""
demo_dir=""
cleanup() {
    if [ -n "$tester_pid" ]; then
        kill "$tester_pid" 2>/dev/null || true
        wait "$tester_pid" 2>/dev/null || true
    fi
    if [ -n "$demo_dir" ]; then
        rm -rf "$demo_dir"
    fi
}
trap cleanup EXIT

open=()
if [ "$demo" = 1 ]; then
    demo_dir=$(mktemp -d -t collatrix-demo.XXXXXX)
    echo "Building the demonstration archive in $demo_dir (five surveys at the line rate)..."
    scripts/demo-archive.sh "$demo_dir" "$bin"
    # shellcheck source=/dev/null
    . "$demo_dir/demo.env"
    # The newest survey on screen, so the evaluation and review windows have figures at once;
    # kept files are named by their time, so the last in order is the newest.
    kept=("$XDG_DATA_HOME"/collatrix/downloads/*.clxd)
    open=("${kept[-1]}")
fi

if [ "$simulate" = 1 ]; then
    "$bin/collatrix-tester" --port 3 --layout 3 --groups 4 --cells 12 --seed 7 &
    tester_pid=$!
    for _ in $(seq 50); do
        [ -L "$bin/ports/COM3" ] && break
        sleep 0.1
    done
fi

"$bin/collatrix" "${open[@]}"
