#!/bin/sh
# Start-up time and memory of the program on ten years of data, measured from outside:
# the time until the main window is mapped on an X server (Xvfb), and the resident size
# once it is up (needs Xvfb and xdotool). Usage: bench/startup.sh [path/to/kalendra] [runs]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
binary=${1:-$here/../build/kalendra}
runs=${2:-5}
home=$(mktemp -d /tmp/kalendra-startup-XXXXXX)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT

# Ten years of schedules, about 50 a month, the default holidays and a ToDo file.
cp "$here/../data/Holiday.dat" "$home/"
printf '[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=%s\r\n' "$(date +%Y)" > "$home/Kalendra.ini"
year=$(date +%Y)
y=$((year - 9))
while [ "$y" -le "$year" ]; do
    m=1
    while [ "$m" -le 12 ]; do
        file=$(printf '%s/%04d%02d.sch' "$home" "$y" "$m")
        i=0
        while [ "$i" -lt 50 ]; do
            d=$(( (i * 7) % 28 + 1 ))
            printf '%02d09:3017:00              0011Regular meeting with the team   \r\n' "$d"
            i=$((i + 1))
        done | sort > "$file"
        m=$((m + 1))
    done
    y=$((y + 1))
done
i=0
while [ "$i" -lt 100 ]; do
    printf '%s/12/311000%s/01/01              00Task %d\r\n' "$year" "$year" "$i"
    i=$((i + 1))
done > "$home/ToDo.dat"

display=:$(( $$ % 500 + 100 ))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY="$display" QT_QPA_PLATFORM=xcb

run=0
while [ "$run" -le "$runs" ]; do
    start=$(date +%s%N)
    "$binary" /2 --home "$home" >/dev/null 2>&1 &
    pid=$!
    tries=0
    until xdotool search --onlyvisible --name '^Kalendra$' >/dev/null 2>&1; do
        sleep 0.005
        tries=$((tries + 1))
        if [ "$tries" -gt 2000 ]; then
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
    # The first run warms the caches and is not counted.
    if [ "$run" -gt 0 ]; then
        echo "run $run: window mapped after $(( (end - start) / 1000000 )) ms, resident $(( rss / 1024 )) MiB"
    fi
    run=$((run + 1))
done
