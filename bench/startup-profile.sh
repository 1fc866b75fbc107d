#!/bin/sh
# Where the start-up goes, from the exec to the first frame (ten years of generated data, Xvfb
# and a session bus as in startup.sh): software counters (perf stat), the CPU samples by library
# and by function (perf record), the system calls (strace -c), the files opened (libraries,
# fonts, data). build/bench/MapWatch -a ends each run 300 ms
# after the map, once the program has answered a ping: the first frame is drawn by then and the
# idle event loop adds little. Not a timing: the tracers slow the program down.
# Usage: bench/startup-profile.sh [build folder] [years] [bare]   ("bare": the same for the bare
# Qt window, build/bench/BareLabel; perf and strace needed, perf as root or with
# kernel.perf_event_paranoid <= 1)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
years=${2:-10}
subject=${3:-kalendra}
home=$(mktemp -d /tmp/kalendra-profile-XXXXXX)
. "$here/common.sh"
trap 'end_session; rm -rf "$home"' EXIT
make_data "$build" "$years" 24
start_session
program() {
    if [ "$subject" = bare ]; then echo "$build/bench/BareLabel"; else echo "$build/kalendra" /2 --home "$home"; fi
}
atMap() { "$build/bench/MapWatch" -a -s 300 "$@" >/dev/null; }
# One start untraced, so that every file is in the page cache.
atMap $(program)

echo "== perf stat, exec to first frame"
atMap perf stat -o "$home/stat" -e task-clock,page-faults,context-switches,cpu-migrations -- $(program)
sed -n '/task-clock/,/sys$/p' "$home/stat" | sed '/^$/d'

echo
echo "== CPU samples by library (perf record -F 20000, exec to first frame)"
atMap perf record -q -e cpu-clock -F 20000 -o "$home/perf.data" -- $(program)
perf report -q -i "$home/perf.data" --no-children --sort dso --stdio 2>/dev/null | sed '/^$/d' | head -15
echo
echo "== CPU samples by function, first 25"
perf report -q -i "$home/perf.data" --no-children --sort dso,sym --stdio 2>/dev/null | sed '/^$/d' | cut -c1-150 |
    head -25

echo
echo "== system calls (strace -f -c, exec to first frame; time is in the kernel, waits included)"
atMap strace -f -c -o "$home/calls" $(program)
head -22 "$home/calls"

echo
echo "== files opened (strace -f -e trace=openat)"
atMap strace -f -e trace=openat -o "$home/opens" $(program)
opened() { grep -v ' = -1 ' "$home/opens" | sed -n 's/.*openat([^"]*"\([^"]*\)".*/\1/p'; }
echo "opened: $(opened | wc -l), failed: $(grep -c ' = -1 ' "$home/opens")"
echo "shared libraries: $(opened | grep -E '\.so(\.[0-9]+)*$' | sort -u | wc -l) (Qt plugins among them:" \
     "$(opened | grep '/plugins/.*\.so$' | sort -u | wc -l))"
echo "fontconfig configuration and cache files: $(opened | grep -c -E '/fonts?/conf|fonts\.conf|/fontconfig/|\.cache-')"
echo "font files:"
opened | grep -E '\.(ttf|otf|ttc|pfb|pcf)(\.gz)?$' | sort | uniq -c | sed 's/^/    /'
echo "data folder files:"
opened | grep "^$home" | sed "s|^$home/*|    |; s|^ *$|    (the folder)|"


echo
echo "== D-Bus calls on the session bus (dbus-monitor): member and first argument"
dbus-monitor --session "type='method_call'" > "$home/bus" 2>/dev/null &
monitor=$!
sleep 0.5 # the monitor's own calls come first; they are left out below
atMap $(program)
kill "$monitor"
awk '/^method call/ { if (call != "" && call !~ /BecomeMonitor/) print "    " call; call = $0; sub(/.*member=/, "", call); next }
     /^ *string "/ && call != "" && call !~ / / { sub(/^ *string /, ""); call = call " " $0 }
     END { if (call != "" && call !~ /BecomeMonitor/) print "    " call }' "$home/bus" | sort | uniq -c
