#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing Collatrix need.
# Only missing packages are installed, so a prepared machine is left alone.
set -euo pipefail

# What building and running the program needs.
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libudev-dev
)
# What CPack's Debian package needs: dpkg-shlibdeps finds the dependencies among the files
# that file(1) calls programs, help2man writes manual pages, lintian checks the result, and
# appstreamcli and desktop-file-validate check what software centres and menus read.
packaging=(dpkg-dev file help2man lintian appstream desktop-file-utils)
for option in "$@"; do
    case "$option" in
    --gui) packages+=(xvfb xauth) ;;
    # The test run also builds the fuzz targets with clang, compiles the Windows build's
    # sources with a cross compiler, checks the MIME package of kept downloads, reads reports
    # back with poppler and builds, checks and unpacks the Debian package.
    --test) packages+=(clang libclang-rt-14-dev g++-mingw-w64-x86-64 shared-mime-info poppler-utils
        "${packaging[@]}") ;;
    --package) packages+=("${packaging[@]}") ;;
    --bench) packages+=(libbenchmark-dev) ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
