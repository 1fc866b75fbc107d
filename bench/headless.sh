#!/bin/sh
# A headless command against a bare C program that only prints a line (build/bench/BarePrint) and
# the same in C++ (build/bench/BarePrintCxx), run alternately by build/bench/ExecTime: wall time
# from just before the exec to the return of wait4, and the peak resident size wait4 reports
# (ru_maxrss). The command is `kalendra --search zzz` on an empty data folder, so what it costs is
# the start and the end.
# Usage: bench/headless.sh [build folder] [runs]
# One warm-up round, then RUNS rounds (at least 7). The last line is "RESULT ours_ms=...
# bare_ms=... ours_cpu_ms=... bare_cpu_ms=... ours_mib=... bare_mib=... cxx_ms=..." (medians).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-11}
[ "$runs" -ge 7 ] || runs=7
home=$(mktemp -d /tmp/kalendra-headless-XXXXXX)
trap 'rm -rf "$home"' EXIT
timer=$build/bench/ExecTime
empty=$home/empty
mkdir "$empty"

. "$here/common.sh"

# "wall_ms cpu_ms maxrss_kib" of one run.
measure() { "$timer" "$@" | sed -n 's/^wall_ms=\([0-9.]*\) cpu_ms=\([0-9.]*\) maxrss_kib=\([0-9]*\) .*/\1 \2 \3/p'; }
ours() { measure "$build/kalendra" --home "$empty" --search zzz; }
baseline() { echo "$(measure "$build/bench/BarePrint") $(measure "$build/bench/BarePrintCxx")"; }

r=$home/.results
alternate "$runs" "$r" "kalendra --search zzz | bare C program, then C++ program: wall ms, CPU ms, peak KiB"
echo "RESULT ours_ms=$(column "$r" 1) bare_ms=$(column "$r" 4) ours_cpu_ms=$(column "$r" 2)" \
     "bare_cpu_ms=$(column "$r" 5) ours_mib=$(mib "$(column "$r" 3)") bare_mib=$(mib "$(column "$r" 6)")" \
     "cxx_ms=$(column "$r" 7)"
