#!/bin/sh
# Start-up time and memory on generated data, measured from outside against a bare Qt Widgets
# window (BareLabel), the two started alternately: the time until the window is mapped on an X
# server (Xvfb) and the resident size once it is up (needs Xvfb and xdotool).
# Usage: bench/startup.sh [build folder] [runs] [years] [memos a year]
# The last line is "RESULT ours_ms=... bare_ms=... ours_mib=... bare_mib=..." (medians).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-7}
years=${3:-10}
memos=${4:-24}
home=$(mktemp -d /tmp/kalendra-startup-XXXXXX)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT

gendata=$build/tools/gendata/kalendra_gendata
[ -x "$gendata" ] || gendata=$build/bench/gendata/kalendra_gendata
year=$(date +%Y)
"$gendata" "$home" --years "$years" --first-year $((year - years + 1)) --memos-per-year "$memos"
printf '[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=%s\r\n' "$year" > "$home/Kalendra.ini"

# A display number nobody else uses, chosen by Xvfb itself.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$home/.display" >/dev/null 2>&1 &
xvfb=$!
until [ -s "$home/.display" ]; do sleep 0.1; done
display=:$(cat "$home/.display")
export DISPLAY="$display" QT_QPA_PLATFORM=xcb

# Prints "milliseconds-to-map resident-KiB" for one start of the command.
measure() {
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    tries=0
    until xdotool search --onlyvisible --pid "$pid" --name '^Kalendra$' >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "the program ended before its window appeared" >&2
            exit 1
        fi
        sleep 0.002
        tries=$((tries + 1))
        if [ "$tries" -gt 3000 ]; then
            echo "the window did not appear" >&2
            kill "$pid" 2>/dev/null || true
            exit 1
        fi
    done
    end=$(date +%s%N)
    sleep 0.5
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(( (end - start) / 1000000 )) $rss"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

results=$home/.results
: > "$results"
run=0
while [ "$run" -le "$runs" ]; do
    ours=$(measure "$build/kalendra" /2 --home "$home")
    bare=$(measure "$build/bench/BareLabel")
    # The first round warms the caches and is not counted.
    if [ "$run" -gt 0 ]; then
        echo "run $run: kalendra $ours, bare $bare (ms KiB)"
        echo "$ours $bare" >> "$results"
    fi
    run=$((run + 1))
done
ours_ms=$(awk '{print $1}' "$results" | median)
bare_ms=$(awk '{print $3}' "$results" | median)
ours_kib=$(awk '{print $2}' "$results" | median)
bare_kib=$(awk '{print $4}' "$results" | median)
echo "RESULT ours_ms=$ours_ms bare_ms=$bare_ms ours_mib=$(awk -v k="$ours_kib" 'BEGIN { printf "%.1f", k / 1024 }')" \
     "bare_mib=$(awk -v k="$bare_kib" 'BEGIN { printf "%.1f", k / 1024 }')"
