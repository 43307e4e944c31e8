#!/usr/bin/env bash
# Compiles every product source that a Windows build compiles with the MinGW cross compiler
# (syntax only, against this machine's Qt headers and the build's generated form headers), so a
# Linux build notices when the Windows build stops compiling.
# Usage: check-windows-build.sh BUILD_FOLDER. The compiler can be given in MINGW_CXX.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++}
qt=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)

flags=(-std=c++17 -Wall -Wextra -Werror -fsyntax-only -I. -isystem "$qt")
for module in QtCore QtGui QtWidgets; do
    flags+=(-isystem "$qt/$module")
done
flags+=(-I"$build/app/app_autogen/include" -I"$build/ascan/widgets_autogen/include"
    -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB
    -DCOLLATRIX_VERSION=\"0\")

sources=(data/*.cpp device/cyclicbuffer.cpp device/comport.cpp device/comport_win.cpp
    device/kvtustester.cpp ascan/*.cpp app/main.cpp app/mainwindow*.cpp)
for source in "${sources[@]}"; do
    "$compiler" "${flags[@]}" "$source"
done
echo "The Windows build's ${#sources[@]} sources compile."
