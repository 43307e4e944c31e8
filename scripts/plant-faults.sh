#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plants each known fault of scripts/faults/*.list in turn, rebuilds, and checks that the
# named test catches it; then puts the source back. Usage: scripts/plant-faults.sh [FILTER],
# where FILTER picks the faults whose name contains it. Needs a configured default build
# (cmake --preset default). FAULT_LISTS names other lists than all of scripts/faults/, and
# FAULT_BUILD another build folder: one configured with -DCMAKE_UNITY_BUILD=OFF rebuilds a
# planted file alone, which is quicker. Exits 1 when a fault goes unnoticed.
set -uo pipefail
cd "$(dirname "$0")/.."
filter=${1:-}
missed=0
count=0
build=${FAULT_BUILD:-build}

# fault NAME FILE SED-EXPRESSION TEST [PROGRAM]: PROGRAM is the test's target where the test is
# another run of it.
fault() {
    local name=$1 file=$2 expr=$3 test=$4 target=${5:-$4}
    # A shell test (test_*) checks what the whole build installs or packages.
    [[ "$test" == test_* ]] && target=all
    [[ -n "$filter" && "$name" != *"$filter"* ]] && return
    count=$((count + 1))
    cp "$file" "$file.orig"
    sed -i "$expr" "$file"
    if cmp -s "$file" "$file.orig"; then
        echo "STALE   $name: the expression no longer matches $file"
        missed=$((missed + 1))
    elif ! cmake --build "$build" --target "$target" >/dev/null 2>&1; then
        echo "CAUGHT  $name (does not compile)"
    elif (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -R "^$test\$" >/dev/null 2>&1); then
        echo "MISSED  $name: $test still passes"
        missed=$((missed + 1))
    else
        echo "caught  $name by $test"
    fi
    mv "$file.orig" "$file"
    touch "$file" # the restored file is older than the faulty build
}

for list in ${FAULT_LISTS:-scripts/faults/*.list}; do
    source "$list"
done

cmake --build "$build" >/dev/null 2>&1
echo "$count faults planted, $missed missed"
[ "$missed" = 0 ]
