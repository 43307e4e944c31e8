#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package collatrix_VERSION_amd64.deb in the source folder: a release build in
# build-package/ (install prefix /usr, no tests), packed by CPack and checked by lintian, which
# must find no errors (docs/packaging.md explains what else it says).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh --package
cmake --preset package
cmake --build --preset package
out=build-package/packages
rm -rf "$out"
cpack -G DEB --config build-package/CPackConfig.cmake -B "$PWD/$out"
deb=$(ls "$out"/collatrix_*_amd64.deb)
cp "$deb" .
lintian --fail-on error "$deb"
echo "Built $(basename "$deb"); install it with: sudo apt install ./$(basename "$deb")"
