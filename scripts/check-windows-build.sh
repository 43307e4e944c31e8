#!/usr/bin/env bash
# Compiles the Windows serial port layer (which needs no Qt) with the MinGW cross compiler, so
# a Linux build notices when it stops compiling. The compiler can be given in MINGW_CXX.
set -euo pipefail
cd "$(dirname "$0")/.."

compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++}
for source in device/comport.cpp device/comport_win.cpp; do
    "$compiler" -std=c++17 -Wall -Wextra -Werror -fsyntax-only -Idevice "$source"
done
echo "Windows serial port layer compiles."
