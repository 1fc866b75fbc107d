"""ScreenReaderCheck.py KALENDRA: the window read over the accessibility bus on a private display; 77: skipped."""
import datetime, os, re, shutil, subprocess, sys, tempfile, time


def skip(reason):
    print("skipped: " + reason)
    sys.exit(77)


def check(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def wait_for(what, probe, seconds=30):
    end = time.time() + seconds
    while not probe() and time.time() < end:
        time.sleep(0.2)
    check(probe(), "not found within %d s: %s" % (seconds, what))
    return probe()


def walk(node, depth=0):
    yield node
    for child in (node.getChildAtIndex(i) for i in range(node.childCount if depth < 40 else 0)):
        yield from walk(child, depth + 1) if child is not None else ()


def private_bus():
    if not os.environ.get("KALENDRA_A11Y_PRIVATE"):
        for tool in ("xvfb-run", "dbus-run-session", "xdotool", "dbus-send", "/usr/libexec/at-spi-bus-launcher"):
            if not shutil.which(tool):
                skip(tool + " is not installed")
        command = ["xvfb-run", "-a", "dbus-run-session", "--", sys.executable] + sys.argv
        sys.exit(subprocess.run(command, env=dict(os.environ, KALENDRA_A11Y_PRIVATE="1")).returncode)
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    query = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]
    end = time.time() + 10
    while "true" not in subprocess.run(query, capture_output=True, text=True).stdout:
        if time.time() > end or launcher.poll() is not None:
            skip("the accessibility bus did not start")
        time.sleep(0.1)
    return launcher


def main():
    try:
        import pyatspi
        from gi.repository import GLib
    except ImportError:
        skip("python3-pyatspi is not installed")
    launcher = private_bus()
    home, today = tempfile.mkdtemp(prefix="kalendra-a11y-"), datetime.date.today()
    with open(os.path.join(home, "Kalendra.ini"), "wb") as ini:
        ini.write(b"[Kalendra]\r\nVer=3.01\r\n")
    with open(os.path.join(home, today.strftime("%Y%m.sch")), "wb") as month:
        month.write(("%02d10:0011:00%s0000歯科検診\r\n" % (today.day, " " * 14)).encode("cp932"))
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([sys.argv[1], "--home", home], env=env)
    try:
        app = wait_for("the program on the bus", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.get_process_id() == program.pid), None))
        table = wait_for("the month grid as a table", lambda: next(
            (n for n in walk(app) if n.getRole() == pyatspi.ROLE_TABLE and n.name == "月間カレンダー"), None)).queryTable()
        cells = [table.getAccessibleAt(r, c) for r in range(table.nRows) for c in range(table.nColumns)]
        selected = [c.name for c in cells if c.getState().contains(pyatspi.STATE_SELECTED)]
        day = "%d月%d日 %s曜日、今日" % (today.month, today.day, "月火水木金土日"[today.weekday()])
        check(len(selected) == 1 and selected[0].startswith(day) and "10:00から11:00 歯科検診" in selected[0],
              "the selected cell reads %s" % selected)
        focused = []
        pyatspi.Registry.registerEventListener(lambda e: e.detail1 and focused.append(e.source.name),
                                               "object:state-changed:focused")
        window = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.pid), "--name", "Kalendra"],
                                capture_output=True, text=True).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]])
        key, step = ("Left", -1) if today.weekday() == 5 else ("Right", 1)  # Saturday ends the row
        subprocess.run(["xdotool", "key", "--window", window[0], key], check=True)
        moved = today + datetime.timedelta(days=step)
        heard = lambda: any(n.startswith("%d月%d日 " % (moved.month, moved.day)) for n in focused)
        end, context = time.time() + 15, GLib.MainContext.default()
        while not heard() and time.time() < end:  # a loaded machine may take its time
            context.iteration(False) or time.sleep(0.05)
        check(heard(), "after %s the focus was heard on %s" % (key, focused))
        clock = wait_for("the clock as words", lambda: next(
            (n for n in walk(app) if re.fullmatch(r"\d{4}年\d+月\d+日 .曜日 \d+時\d+分", n.name or "")), None))
    finally:
        program.terminate()
        program.wait(10)
        launcher.terminate()
        shutil.rmtree(home, ignore_errors=True)


main()
