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
# One warm-up round, then RUNS rounds (at least 7); the order of the two is swapped each round.
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
. "$here/common.sh"
trap 'end_session; rm -rf "$home"' EXIT
make_data "$build" "$years" "$memos"
start_session

# "map_ms cpu_ms rss_kib pss_kib" of one start.
measure() {
    "$watch" "$@" | sed -n 's/^map_ms=\([0-9.]*\) cpu_ms=\([0-9.]*\) .* rss_kib=\([0-9]*\) pss_kib=\([0-9]*\) .*/\1 \2 \3 \4/p'
}
ours() { measure "$build/kalendra" /2 --home "$home"; }
baseline() { measure "$build/bench/BareLabel"; }

r=$home/.results
alternate "$runs" "$r" "kalendra | bare: ms to map, CPU ms to map, VmRSS KiB, PSS KiB"
echo "RESULT ours_ms=$(column "$r" 1) bare_ms=$(column "$r" 5) ours_cpu_ms=$(column "$r" 2)" \
     "bare_cpu_ms=$(column "$r" 6) ours_rss_mib=$(mib "$(column "$r" 3)") bare_rss_mib=$(mib "$(column "$r" 7)")" \
     "ours_pss_mib=$(mib "$(column "$r" 4)") bare_pss_mib=$(mib "$(column "$r" 8)")"
