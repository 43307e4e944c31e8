#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks that the installed program folder is
# complete and works from another folder. Usage: test_install.sh BUILD_FOLDER SOURCE_FOLDER
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
trap 'rm -rf "$prefix" "$elsewhere"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
program=$prefix/lib/collatrix
for f in collatrix collatrix-cli collatrix-tester; do
    [ -x "$program/$f" ] || fail "$program/$f is not installed"
    [ "$(readlink -f "$prefix/bin/$f")" = "$(readlink -f "$program/$f")" ] || fail "bin/$f does not lead to $program/$f"
done
# The program looks beside its real file, also when started through bin/.
folder=$(dirname "$(readlink -f "$prefix/bin/collatrix")")
[ -f "$folder/Help/index.html" ] || fail "no Help/index.html beside the program"
[ -f "$folder/Help/index_ru.html" ] || fail "no Russian start page"
[ -f "$folder/Help/Images/ascan_window.png" ] || fail "no help pictures"
[ -f "$folder/translations/collatrix_ru.qm" ] || fail "no translation"
[ ! -e "$folder/collatrix.qm" ] || fail "the translation is in use without being asked for"
grep -q "^Exec=$prefix/bin/collatrix %f\$" "$prefix/share/applications/collatrix.desktop" || fail "desktop entry"
grep -q "^MimeType=application/x-collatrix-download;\$" "$prefix/share/applications/collatrix.desktop" || fail "desktop entry MIME type"
# The MIME package is valid and gives kept downloads their type by name and by content.
update-mime-database "$prefix/share/mime" || fail "update-mime-database refuses the MIME package"
grep -q "application/x-collatrix-download:\*\.clxd" "$prefix/share/mime/globs2" || fail "no *.clxd glob"
grep -aq "CLXD" "$prefix/share/mime/magic" || fail "no signature in the MIME magic"
grep -q "^Icon=collatrix\$" "$prefix/share/applications/collatrix.desktop" || fail "desktop entry icon"
# A PNG's width and height follow its signature and the IHDR chunk head.
icon=$prefix/share/icons/hicolor/128x128/apps/collatrix.png
[ "$(od -An -tx1 -j12 -N12 "$icon" | tr -d ' \n')" = "4948445200000080""00000080" ] || fail "icon is no 128 x 128 PNG"

cd "$elsewhere"
"$prefix/bin/collatrix-cli" --help >help.txt 2>&1 || fail "collatrix-cli --help"
grep -q decode help.txt || fail "collatrix-cli --help says nothing of decode"
LC_ALL=C.UTF-8 "$prefix/bin/collatrix-cli" decode "$source/tests/data/layout2.bin" -o out.csv || fail "collatrix-cli decode"
cmp -s out.csv "$source/tests/data/layout2.csv" || fail "decoded CSV differs"

# Switching the installed folder to Russian and back.
"$source/scripts/use-russian.sh" "$folder" >/dev/null
[ -f "$folder/collatrix.qm" ] || fail "use-russian.sh did not place collatrix.qm"
cmp -s "$folder/collatrix.qm" "$folder/translations/collatrix_ru.qm" || fail "collatrix.qm is not the Russian catalogue"
if [ -f "$folder/translations/qt_ru.qm" ]; then
    [ -f "$folder/qt_ru.qm" ] || fail "use-russian.sh did not place qt_ru.qm"
fi
"$source/scripts/use-russian.sh" --off "$folder" >/dev/null
[ ! -e "$folder/collatrix.qm" ] && [ ! -e "$folder/qt_ru.qm" ] || fail "use-russian.sh --off left files"

# Installing again over the same prefix works (links are replaced).
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "second install"
echo "installed folder complete"
