#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a demonstration archive in DIR: five yearly surveys of two named objects, each made by
# the simulated tester from a memory of that year's readings and downloaded through
# collatrix-cli at the line rate, with named test points and limits. Everything the program
# writes stays in DIR; DIR/demo.env holds the variables that point the program there.
# Usage: scripts/demo-archive.sh DIR [BIN]   (BIN: the programs, default build/bin)
# $COLLATRIX_TODAY (yyyy-MM-dd) sets the day the surveys are counted back from.
set -euo pipefail

dir=$(realpath "${1:?usage: demo-archive.sh DIR [BIN]}")
bin=$(realpath "${2:-$(dirname "$0")/../build/bin}")
today=${COLLATRIX_TODAY:-$(date +%F)}
port=9

mkdir -p "$dir/data" "$dir/config" "$dir/settings" "$dir/surveys" "$dir/ports"
cat >"$dir/demo.env" <<EOF
export COLLATRIX_ARCHIVE='sqlite:$dir/archive.sqlite'
export XDG_DATA_HOME='$dir/data'
export XDG_CONFIG_HOME='$dir/config'
export COLLATRIX_SETTINGS_FOLDER='$dir/settings'
EOF
# shellcheck source=/dev/null
. "$dir/demo.env"

# The survey's own ports folder: every other entry leads nowhere, so neither a real tester nor
# the machine's serial ports take part.
for n in $(seq 128); do
    [ "$n" = "$port" ] || ln -sfn absent "$dir/ports/COM$n"
done

# group;cell;name;location;first thickness mm;loss mm a year
points="\
1;1;CML-01;Course 1, north, 0.5 m above the bottom;11.92;0.08
1;2;CML-02;Course 1, east;11.85;0.11
1;3;CML-03;Course 1, south, beside the drain nozzle;11.60;0.70
1;4;CML-04;Course 1, west;11.88;0.09
1;5;CML-05;Course 2, north;11.95;0.05
1;6;CML-06;Course 2, east, under the platform;11.80;0.20
1;7;CML-07;Course 2, south;11.90;0.06
1;8;CML-08;Course 2, west, beside the manway;11.78;0.14
2;1;CML-01;Pump discharge, top;7.05;0.04
2;2;CML-02;Elbow E1, outer bend;6.95;0.15
2;3;CML-03;Elbow E1, inner bend;7.02;0.06
2;4;CML-04;Tee T1, branch;7.00;0.08
2;5;CML-05;Dead leg at the drain valve;6.60;0.55
2;6;CML-06;Reducer R1, downstream;7.08;0.03"

# The readings of survey Y (0 to 4): each point thinner by its yearly loss, give or take
# 0.02 mm. CML-03 of the tank falls below its minimum in the last survey; the last reading of
# the tank's CML-06 is 0.75 mm thicker than the one before, to be reviewed; the line's dead leg
# CML-05 is left out of the last two surveys, so its next inspection passes unread.
readings() {
    awk -F';' -v y="$1" '
        $1 == 1 && $2 == 6 && y == 4 { printf "1;6;11.95\n"; next }
        $1 == 2 && $2 == 5 && y >= 3 { next }
        { printf "%d;%d;%.2f\n", $1, $2, $5 - $6 * y + (($1 * 7 + $2 * 13 + y * 17) % 5 - 2) / 100 }
    ' <<<"$points"
}

# One survey: the tester holds that year's readings, taken on that day, and the CLI downloads
# them with every A-scan on the day, as an inspector's laptop would.
survey() {
    local y=$1 day=$2 tester
    readings "$y" >"$dir/surveys/readings-$y.txt"
    rm -f "$dir/ports/COM$port"
    "$bin/collatrix-tester" --layout 3 --readings "$dir/surveys/readings-$y.txt" \
        --taken "${day}T09:30:00" --seed "$((101 + y))" --reply-rate 3840 \
        --ports-dir "$dir/ports" --port "$port" >"$dir/surveys/tester-$y.log" &
    tester=$!
    for _ in $(seq 100); do
        [ -L "$dir/ports/COM$port" ] && break
        sleep 0.05
    done
    COLLATRIX_TODAY=$day "$bin/collatrix-cli" download -o "$dir/surveys/survey-$y.csv" \
        --pictures --ports-dir "$dir/ports" >/dev/null 2>"$dir/surveys/download-$y.log" ||
        { kill "$tester"; cat "$dir/surveys/download-$y.log" >&2; return 1; }
    kill "$tester"
    wait "$tester" || true
}

# What an engineer sets once the first survey is in: the objects' names from it onward, the
# points' names and locations, the limits.
describe() {
    local cli="$bin/collatrix-cli"
    "$cli" archive name 1 "Tank T-101 shell" --reason "site plan" >/dev/null
    "$cli" archive name 2 "Line P-204, DN150" --reason "site plan" >/dev/null
    { echo "group;cell;name;location"; cut -d';' -f1-4 <<<"$points"; } >"$dir/surveys/points.csv"
    "$cli" archive points import "$dir/surveys/points.csv" --reason "survey plan" >/dev/null
    "$cli" archive limits 1 --nominal 12 --minimum 9 --warning 1 --reason "tank data sheet" \
        >/dev/null
    "$cli" archive limits 2 --nominal 7.1 --minimum 4.8 --warning 0.5 --reason "line list" \
        >/dev/null
}

# Yearly, the last four months before today, each earlier one a few days earlier in its year.
for y in 0 1 2 3 4; do
    back=$((4 - y))
    survey "$y" "$(date -d "$today -$back years -4 months -$((3 * back)) days" +%F)"
    [ "$y" != 0 ] || describe
done
