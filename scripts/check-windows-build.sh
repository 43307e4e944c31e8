#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles product sources that a Windows build compiles with the MinGW cross compiler (syntax
# only, against this machine's Qt headers and the build's generated form headers), so a Linux
# build notices when the Windows build stops compiling.
# Usage: check-windows-build.sh BUILD_FOLDER [FOLDER...]: the sources of the folders given, or
# of all of them. The sources of one folder are compiled as one unit, which reads the toolkit
# headers once instead of once a file; file-local names therefore differ within a folder.
# check-windows-build.sh --list prints the folders, one a line; CTest makes one test of each, so
# that parallel jobs share the work. check-windows-build.sh --prepare BUILD_FOLDER, a step of the
# build, precompiles the toolkit headers they include, which more than halves the time of each;
# without it every unit reads them itself. The compiler can be given in MINGW_CXX.
set -euo pipefail
cd "$(dirname "$0")/.."
folders=(format archive services data device ascan evaluation evaluationview report app)
# The sources of a folder that a Windows build compiles: device/ and app/ have POSIX-only ones
# (the Linux port backend and its owners' checks, the udev watch, the quit signals).
sources_of() {
    case "$1" in
    device) echo device/cyclicbuffer.cpp device/comport.cpp device/comport_win.cpp \
        device/kvtustester.cpp ;;
    app) ls app/*.cpp | grep -v -e devicewatcher -e quitsignals ;;
    *) echo "$1"/*.cpp ;;
    esac
}
if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${folders[@]}"
    exit 0
fi
prepare=false
if [ "${1:-}" = "--prepare" ]; then
    prepare=true
    shift
fi
build=${1:-build}
shift || true
chosen=("$@")
[ ${#chosen[@]} -gt 0 ] || chosen=("${folders[@]}")
compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++}
qt=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)

flags=(-std=c++17 -Wall -Wextra -Werror -I. -isystem "$qt")
for module in QtCore QtGui QtWidgets QtSql QtCharts; do
    flags+=(-isystem "$qt/$module")
done
for generated in "$build"/app/*_autogen/include "$build"/ascan/*_autogen/include; do
    flags+=(-I"$generated")
done
flags+=(-DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_SQL_LIB -DQT_CHARTS_LIB
    -DCOLLATRIX_VERSION=\"0\")

headers=$build/windows-check/qt.h
if $prepare; then
    mkdir -p "$(dirname "$headers")"
    cat $(for folder in "${folders[@]}"; do sources_of "$folder"; done) $(ls format/*.h archive/*.h services/*.h data/*.h device/*.h ascan/*.h evaluation/*.h evaluationview/*.h report/*.h app/*.h) |
        grep -o '^#include <Q[A-Za-z]*>' | sort -u >"$headers"
    "$compiler" "${flags[@]}" -x c++-header "$headers" -o "$headers.gch"
    echo "The toolkit headers of the Windows build's sources are precompiled."
    exit 0
fi
[ -f "$headers" ] && flags+=(-include "$headers")

mkdir -p "$build/windows-check"
for folder in "${chosen[@]}"; do
    unit=$build/windows-check/$folder.cpp
    for source in $(sources_of "$folder"); do
        echo "#include \"$source\""
    done >"$unit"
    "$compiler" "${flags[@]}" -fsyntax-only "$unit"
done
echo "The Windows build's sources in ${chosen[*]} compile."
