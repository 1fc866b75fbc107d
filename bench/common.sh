# Sourced by the bench scripts: rounds that alternate our program with its baseline, medians,
# and for the start-up scripts a data folder, an X server and a session bus of their own.

# Ended by a signal (a closed pipe, ^C), the script still runs its EXIT trap and cleans up.
trap 'exit 1' INT TERM HUP PIPE

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs the caller's functions `ours` and `baseline` in one warm-up round and then ROUNDS rounds,
# their order swapped each round, and appends "ours' fields baseline's fields" of each counted
# round to FILE, showing it with LABEL. Either printing nothing ends the script.
alternate() { # rounds file label
    round=0
    : > "$2"
    while [ "$round" -le "$1" ]; do
        if [ $((round % 2)) -eq 0 ]; then
            o=$(ours)
            b=$(baseline)
        else
            b=$(baseline)
            o=$(ours)
        fi
        if [ -z "$o" ] || [ -z "$b" ]; then
            echo "round $round was not measured" >&2
            exit 1
        fi
        # The first round warms the caches and is not counted.
        if [ "$round" -gt 0 ]; then
            echo "round $round: $o | $b ($3)"
            echo "$o $b" >> "$2"
        fi
        round=$((round + 1))
    done
}

# The median of column N of FILE.
column() { awk -v c="$2" '{ print $c }' "$1" | median; }
mib() { awk -v k="$1" 'BEGIN { printf "%.2f", k / 1024 }'; }

# Fills $home with YEARS of generated data up to this year, MEMOS memos a year, and settings that
# open the window on this year.
make_data() { # build years memos
    gendata=$1/tools/gendata/kalendra_gendata
    [ -x "$gendata" ] || gendata=$1/bench/gendata/kalendra_gendata
    year=$(date +%Y)
    "$gendata" "$home" --years "$2" --first-year $((year - $2 + 1)) --memos-per-year "$3" >/dev/null
    printf '[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=%s\r\n' "$year" > "$home/Kalendra.ini"
}

# An X server (Xvfb, no window manager) and a session bus as a desktop session has them: without
# a bus every Qt program spawns dbus-launch and a bus while it starts. Sets DISPLAY and
# DBUS_SESSION_BUS_ADDRESS; the caller's EXIT trap runs end_session. Needs $home.
start_session() {
    # A display number nobody else uses, chosen by Xvfb itself (written once it accepts clients).
    # No reset when the last client leaves: a client connecting during one is turned away.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$home/.display" >/dev/null 2>&1 &
    session_xvfb=$!
    until [ -s "$home/.display" ]; do sleep 0.1; done
    DISPLAY=":$(cat "$home/.display")"
    dbus-daemon --session --fork --print-address=4 --print-pid=5 4>"$home/.bus" 5>"$home/.bus-pid"
    session_bus=$(cat "$home/.bus-pid")
    DBUS_SESSION_BUS_ADDRESS=$(cat "$home/.bus")
    QT_QPA_PLATFORM=xcb
    export DISPLAY DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM
}
end_session() {
    kill ${session_xvfb:-} ${session_bus:-} 2>/dev/null || true
}
