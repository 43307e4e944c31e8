#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Switches a program folder to Russian: the program's catalogue becomes collatrix.qm and the
# toolkit's becomes qt_ru.qm beside the program, which reads both at start.
# Usage: scripts/use-russian.sh [--off] [PROGRAM_FOLDER]   (default: build/bin)
# --off removes both files again, so the program speaks English.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
off=no
if [ "${1:-}" = "--off" ]; then off=yes; shift; fi
folder=${1:-$root/build/bin}
[ -d "$folder" ] || { echo "use-russian.sh: no folder $folder" >&2; exit 2; }
if [ $off = yes ]; then
    rm -f "$folder/collatrix.qm" "$folder/qt_ru.qm"
    echo "English in $folder"
    exit 0
fi
catalogue=$folder/translations/collatrix_ru.qm
[ -f "$catalogue" ] || { echo "use-russian.sh: $catalogue is missing; build the program first" >&2; exit 1; }
cp "$catalogue" "$folder/collatrix.qm"
# An installed folder carries the toolkit's catalogue; otherwise Debian's qt6-translations-l10n
# has it. Its qt_ru.qm only names per-module files, the widgets' texts are in qtbase_ru.qm.
toolkit=$folder/translations/qt_ru.qm
[ -f "$toolkit" ] || toolkit=/usr/share/qt6/translations/qtbase_ru.qm
if [ -f "$toolkit" ]; then
    cp "$toolkit" "$folder/qt_ru.qm"
else
    echo "use-russian.sh: no toolkit catalogue (apt install qt6-translations-l10n); standard buttons stay English" >&2
fi
echo "Russian in $folder"
