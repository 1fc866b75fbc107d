"""Reads the running window over the desktop's accessibility bus as a screen reader does: the
month grid as a table with weekday headers, a day cell with its schedule, the day a key press
moves the focus to, the clock as words. Runs itself on a private X display and session bus
(xvfb-run, dbus-run-session). Exits 77 (skipped) where these or the accessibility bus cannot start.
Usage: ScreenReaderCheck.py KALENDRA_BINARY"""
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(reason):
    print("skipped: " + reason)
    sys.exit(SKIP)


def wait_for(what, probe, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    sys.exit("not found within %d s: %s" % (seconds, what))


def bus_running():
    query = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]
    return "true" in subprocess.run(query, capture_output=True, text=True).stdout


def run_privately():
    """Runs this script again on its own X display and session bus, once."""
    if os.environ.get("KALENDRA_A11Y_PRIVATE"):
        return
    for tool in ("xvfb-run", "dbus-run-session", "xdotool"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    env = dict(os.environ, KALENDRA_A11Y_PRIVATE="1")
    command = ["xvfb-run", "-a", "dbus-run-session", "--", sys.executable] + sys.argv
    sys.exit(subprocess.run(command, env=env).returncode)


def start_bus():
    if not os.path.exists(LAUNCHER) or not shutil.which("dbus-send"):
        skip("the accessibility bus launcher (at-spi2-core) or dbus-send is not installed")
    launcher = subprocess.Popen([LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    end = time.time() + 10
    while not bus_running():
        if time.time() > end or launcher.poll() is not None:
            launcher.kill()
            skip("the accessibility bus did not start")
        time.sleep(0.1)
    return launcher


def walk(node, depth=0):
    yield node
    if depth < 40:
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from walk(child, depth + 1)


def find(root, role, name):
    return next((n for n in walk(root) if n.getRole() == role and n.name == name), None)


def check(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def main():
    try:
        import pyatspi
        from gi.repository import GLib
    except ImportError:
        skip("python3-pyatspi is not installed")
    run_privately()
    launcher = start_bus()
    home = tempfile.mkdtemp(prefix="kalendra-a11y-")
    today = datetime.date.today()
    with open(os.path.join(home, "Kalendra.ini"), "wb") as ini:
        ini.write(b"[Kalendra]\r\nVer=3.01\r\n")
    record = "%02d10:0011:00%s0000歯科検診" % (today.day, " " * 14)
    with open(os.path.join(home, today.strftime("%Y%m.sch")), "wb") as month:
        month.write(record.encode("cp932") + b"\r\n")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1")
    program = subprocess.Popen([sys.argv[1], "--home", home], env=env)
    try:
        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            return next((a for a in desktop if a is not None and a.get_process_id() == program.pid), None)

        app = wait_for("the program on the accessibility bus", application)
        grid = wait_for("the month grid as a table", lambda: find(app, pyatspi.ROLE_TABLE, "月間カレンダー"))
        table = grid.queryTable()
        check(table.nColumns == 7 and table.nRows in (5, 6), "the grid is %d x %d" % (table.nRows, table.nColumns))
        headers = [table.getColumnHeader(c).name for c in range(7)]
        check(set(headers) == {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"},
              "column headers %s" % headers)
        cells = [table.getAccessibleAt(r, c) for r in range(table.nRows) for c in range(7)]
        day = "%d月%d日 %s" % (today.month, today.day, "月火水木金土日"[today.weekday()] + "曜日")
        spoken = [c.name for c in cells if c.name.startswith(day) and "前の月" not in c.name and "次の月" not in c.name]
        check(spoken and "10:00から11:00 歯科検診" in spoken[0], "today's cell reads %s" % spoken)
        selected = [c for c in cells if c.getState().contains(pyatspi.STATE_SELECTED)]
        check(len(selected) == 1 and selected[0].name.startswith(day), "the selected cell is not today's")
        focused = []
        pyatspi.Registry.registerEventListener(
            lambda event: focused.append(event.source.name) if event.detail1 else None,
            "object:state-changed:focused")
        window = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.pid), "--name", "Kalendra"],
                                capture_output=True, text=True).stdout.split()
        check(window, "the window is not on the display")
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)
        # The week starts on Sunday: Saturday's cell has no right neighbour.
        key, step = ("Left", -1) if today.weekday() == 5 else ("Right", 1)
        subprocess.run(["xdotool", "key", "--window", window[0], key], check=True)
        loop = GLib.MainLoop()
        GLib.timeout_add(3000, loop.quit)
        loop.run()
        moved = today + datetime.timedelta(days=step)
        check(any(name.startswith("%d月%d日 " % (moved.month, moved.day)) for name in focused),
              "after %s the focus was heard on %s" % (key, focused))
        clock = wait_for("the clock as words", lambda: next(
            (n for n in walk(app) if re.fullmatch(r"\d{4}年\d+月\d+日 .曜日 \d+時\d+分", n.name or "")), None))
        check(clock.childCount == 0, "the clock's digits are read one by one")
        print("read: %s / %s" % (spoken[0], clock.name))
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
        launcher.terminate()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
