#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing Collatrix need.
# Only missing packages are installed, so a prepared machine is left alone.
set -euo pipefail

# What building and running the program needs.
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    # The archive window's history plot; its CMake files need the OpenGL module's too.
    qt6-charts-dev libqt6opengl6-dev libgl-dev libopengl-dev
    libudev-dev
    # The archive's two Qt SQL drivers; libqt6sql6 only recommends one.
    libqt6sql6-sqlite libqt6sql6-psql
)
# What CPack's Debian package needs: dpkg-shlibdeps finds the dependencies among the files
# that file(1) calls programs, help2man writes manual pages, lintian checks the result, and
# appstreamcli and desktop-file-validate check what software centres and menus read.
packaging=(dpkg-dev file help2man lintian appstream desktop-file-utils)
german=false
for option in "$@"; do
    case "$option" in
    --gui) packages+=(xvfb xauth) ;;
    # The test run also builds the fuzz targets with clang, compiles the Windows build's
    # sources with a cross compiler, checks the MIME package of kept downloads, reads reports
    # back with poppler and builds, checks and unpacks the Debian package.
    # The archive's tests start a throwaway PostgreSQL server of their own.
    # A German locale lets the server answer in another language than the program's.
    --test) packages+=(clang libclang-rt-14-dev g++-mingw-w64-x86-64 shared-mime-info poppler-utils
        postgresql-15 locales "${packaging[@]}")
        german=true ;;
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
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # The tests make their own clusters; the package's default cluster would only take room.
    if [[ " ${missing[*]} " == *" postgresql-15 "* ]]; then
        $sudo mkdir -p /etc/postgresql-common
        if ! grep -qs '^create_main_cluster = false' /etc/postgresql-common/createcluster.conf; then
            echo 'create_main_cluster = false' | $sudo tee -a /etc/postgresql-common/createcluster.conf >/dev/null
        fi
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if $german && ! locale -a | grep -qx 'de_DE.utf8'; then
    if ! grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
fi
