#!/bin/sh
# Start-up time and memory on generated data, measured from outside against a bare Qt Widgets
# window (BareLabel), the two started alternately under Xvfb with no window manager and with a
# session bus of their own.
#
# build/bench/MapWatch starts each program itself after it has subscribed to the root window's
# MapNotify events: the time runs from just before the exec to the first MapNotify of a window
# whose _NET_WM_PID is the started process (no polling). Memory is read once the event loop has
# settled: 500 ms after the map (the first frame is drawn by then) and once the program has
# answered a _NET_WM_PING, i.e. its main thread is back in its event loop. VmRSS, and PSS from
# /proc/PID/smaps_rollup (shared pages split among the processes mapping them, so PSS also moves
# with what else runs on the machine).
#
# Usage: bench/startup.sh [build folder] [runs] [years] [memos a year]
# One warm-up round, then RUNS rounds (at least 7); the order of the two alternates each round.
# The processor time the program's threads used until the map (cpu_ms) is shown beside the wall
# time: a busy machine disturbs it much less.
# The last line is "RESULT ours_ms=... bare_ms=... ours_cpu_ms=... bare_cpu_ms=... ours_rss_mib=...
# bare_rss_mib=... ours_pss_mib=... bare_pss_mib=..." (medians).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-7}
years=${3:-10}
memos=${4:-24}
[ "$runs" -ge 7 ] || runs=7
watch=$build/bench/MapWatch
home=$(mktemp -d /tmp/kalendra-startup-XXXXXX)
. "$here/session.sh"
trap 'end_session; rm -rf "$home"' EXIT

gendata=$build/tools/gendata/kalendra_gendata
[ -x "$gendata" ] || gendata=$build/bench/gendata/kalendra_gendata
year=$(date +%Y)
"$gendata" "$home" --years "$years" --first-year $((year - years + 1)) --memos-per-year "$memos"
printf '[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=%s\r\n' "$year" > "$home/Kalendra.ini"

start_session

# "map_ms cpu_ms rss_kib pss_kib" of one start.
measure() {
    "$watch" "$@" | sed -n 's/^map_ms=\([0-9.]*\) cpu_ms=\([0-9.]*\) .* rss_kib=\([0-9]*\) pss_kib=\([0-9]*\) .*/\1 \2 \3 \4/p'
}
ours() { measure "$build/kalendra" /2 --home "$home"; }
bare() { measure "$build/bench/BareLabel"; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

results=$home/.results
: > "$results"
run=0
while [ "$run" -le "$runs" ]; do
    if [ $((run % 2)) -eq 0 ]; then
        o=$(ours)
        b=$(bare)
    else
        b=$(bare)
        o=$(ours)
    fi
    if [ -z "$o" ] || [ -z "$b" ]; then
        echo "a start was not measured" >&2
        exit 1
    fi
    # The first round warms the caches and is not counted.
    if [ "$run" -gt 0 ]; then
        echo "run $run: kalendra $o, bare $b (ms to map, CPU ms to map, VmRSS KiB, PSS KiB)"
        echo "$o $b" >> "$results"
    fi
    run=$((run + 1))
done
column() { awk -v c="$1" '{ print $c }' "$results" | median; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
echo "RESULT ours_ms=$(column 1) bare_ms=$(column 5) ours_cpu_ms=$(column 2) bare_cpu_ms=$(column 6)" \
     "ours_rss_mib=$(mib "$(column 3)") bare_rss_mib=$(mib "$(column 7)")" \
     "ours_pss_mib=$(mib "$(column 4)") bare_pss_mib=$(mib "$(column 8)")"
