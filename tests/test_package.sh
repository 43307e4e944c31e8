#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build folder, unpacks it into a temporary root (dpkg -x) and
# runs the programs from there: the CLI, the window with its help pages, and the settings of a
# user who cannot write the program folder. Exits 77 (skipped) without the packaging tools.
# Usage: test_package.sh BUILD_FOLDER SOURCE_FOLDER VERSION
set -eu
for tool in cpack dpkg-deb dpkg-shlibdeps file help2man appstreamcli desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup-debian.sh --test)"; exit 77; }
done
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3
work=$(mktemp -d)
# A window left running would outlive the test and hold whatever it inherited.
pid=
lintian_pid=
trap '[ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null; [ -z "$lintian_pid" ] || kill "$lintian_pid" 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null || fail "cpack"
deb=$work/out/collatrix_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libudev1; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done
# lintian takes as long as all the rest, which mostly waits, so it runs beside it.
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian.out" 2>&1 &
    lintian_pid=$!
fi

root=$work/root
dpkg -x "$deb" "$root"
chmod 755 "$work" # the user the window runs as below must reach it
program=$root/usr/lib/collatrix
for f in collatrix collatrix-cli collatrix-tester; do
    [ -x "$program/$f" ] || fail "no $program/$f"
    [ "$(readlink "$root/usr/bin/$f")" = "../lib/collatrix/$f" ] || fail "/usr/bin/$f is no relative link"
    [ -f "$root/usr/share/man/man1/$f.1.gz" ] || fail "no manual page for $f"
done
zcat "$root/usr/share/man/man1/collatrix-cli.1.gz" | grep -q "decimal" || fail "the CLI's manual page is not its --help"
for f in usr/lib/udev/rules.d/70-collatrix.rules usr/share/applications/collatrix.desktop \
    usr/share/mime/packages/collatrix.xml usr/share/icons/hicolor/128x128/apps/collatrix.png \
    usr/lib/collatrix/translations/collatrix_ru.qm usr/lib/collatrix/Help/index.html; do
    [ -f "$root/$f" ] || fail "no /$f"
done
grep -q '^SUBSYSTEM=="tty", ATTRS{idVendor}==.*GROUP="dialout"' "$root/usr/lib/udev/rules.d/70-collatrix.rules" ||
    fail "the udev rule does not give a matching adapter to dialout"
grep -q "^Exec=/usr/bin/collatrix %f\$" "$root/usr/share/applications/collatrix.desktop" || fail "desktop entry"
desktop-file-validate "$root/usr/share/applications/collatrix.desktop" || fail "desktop-file-validate"
metainfo=$root/usr/share/metainfo/collatrix.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream file does not name release $version"
grep -q "^License: GPL-3.0-or-later" "$root/usr/share/doc/collatrix/copyright" || fail "copyright names no licence"

cd "$work"
"$root/usr/bin/collatrix-cli" --help >help.txt || fail "collatrix-cli --help"
grep -q decode help.txt || fail "collatrix-cli --help says nothing of decode"
LC_ALL=C.UTF-8 "$root/usr/bin/collatrix-cli" decode "$source/tests/data/layout2.bin" -o out.csv || fail "decode"
cmp -s out.csv "$source/tests/data/layout2.csv" || fail "decoded CSV differs"

# The window runs as a user who cannot write the program folder: as root, nobody; otherwise the
# folder loses its write permission.
home=$work/home
mkdir -p "$home"
as_user=
if [ "$(id -u)" = 0 ]; then
    chown nobody "$home"
    as_user="setpriv --reuid=nobody --regid=$(id -g nobody) --clear-groups"
else
    chmod a-w "$program"
fi
# Starts the window, waits until its SIGTERM handler is in (the last step before the event
# loop), then ends it with SIGTERM, which must close it as cleanly as its close button does.
run_window() {
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=offscreen \
        $as_user "$root/usr/bin/collatrix" 2>window.err &
    pid=$!
    tries=0
    until caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$pid/status" 2>/dev/null) &&
        [ $((0x${caught#"${caught%????}"} & 0x4000)) != 0 ]; do
        kill -0 "$pid" 2>/dev/null || break
        tries=$((tries + 1))
        [ "$tries" -lt 600 ] || fail "the window did not come up"
        sleep 0.05
    done
    kill -TERM "$pid" 2>/dev/null || true
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 200 ]; do
        tries=$((tries + 1))
        sleep 0.05
    done
    kill -0 "$pid" 2>/dev/null && fail "the window did not end on SIGTERM"
    wait "$pid" || fail "the window did not end cleanly: $(cat window.err)"
    pid=
    ! grep -q "No document for" window.err || fail "the window finds no help pages: $(cat window.err)"
}
run_window
settings=$home/.config/collatrix/Settings.ini
[ -f "$settings" ] || fail "no Settings.ini in the user's configuration folder"
[ ! -e "$program/Settings.ini" ] || fail "Settings.ini written into the program folder"
grep -q "^DataPath:$home/.local/share/collatrix/Data/" "$settings" || fail "data folder not the user's: $(cat "$settings")"
# A second run keeps what the first left.
sed -i 's/^COMPort:.*/COMPort:COM5\r/' "$settings"
run_window
grep -q "^COMPort:COM5" "$settings" || fail "the settings were not read back: $(cat "$settings")"

# The installed simulator cannot write ports/ beside itself, so it links its port in the user's
# runtime folder, where the installed program looks next.
runtime=$home/run
mkdir -p "$runtime"
[ -z "$as_user" ] || chown nobody "$runtime"
XDG_RUNTIME_DIR=$runtime $as_user "$root/usr/bin/collatrix-tester" --port 7 >tester.out 2>&1 &
pid=$!
tries=0
until [ -L "$runtime/collatrix/ports/COM7" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] || fail "the simulator linked no port in the runtime folder: $(cat tester.out)"
    sleep 0.05
done
found=$(XDG_RUNTIME_DIR=$runtime HOME=$home XDG_CONFIG_HOME=$home/.config $as_user \
    "$root/usr/bin/collatrix-cli" find) || fail "the installed program does not find the simulator"
case $found in COM7\ *) ;; *) fail "found $found, not the simulator on COM7" ;; esac
kill -TERM "$pid"
wait "$pid" || true
pid=
[ ! -e "$program/ports" ] || fail "the simulator wrote into the program folder"
if [ -n "$lintian_pid" ]; then
    wait "$lintian_pid" || fail "lintian reports errors: $(cat "$work/lintian.out")"
    lintian_pid=
fi
echo "package complete and working"
