# Sourced by the start-up scripts: an X server (Xvfb, no window manager) and a session bus of
# their own, as a desktop session has; without a bus every Qt program spawns dbus-launch and a
# bus while it starts. Sets DISPLAY and DBUS_SESSION_BUS_ADDRESS; the caller's EXIT trap runs
# end_session. Needs $home, a scratch folder.
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
