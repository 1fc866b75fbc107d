#!/usr/bin/python3
"""An exported .ics file read by a validator written by others (Python's icalendar package).

Usage: CheckIcsExport.py KALENDRA_BINARY
Builds a program folder with schedules and ToDo entries, exports it twice with --export-ics and
checks that both files are the same (but for DTSTAMP) and carry every field of the records.
"""
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile

import icalendar
from icalendar.parser import Contentlines


def sjis(text):
    return text.encode("cp932")


def pad(data, width):
    return (data + b" " * width)[:width]


def schedule(day, start, end, category, sound, message, title, place=""):
    head = b"%02d" % day + pad(start.encode(), 5) + pad(end.encode(), 5) + pad(sjis(category), 14) + b"00"
    head += (b"1" if sound else b"0") + (b"1" if message else b"0")
    return head + (pad(sjis(title), 40) + sjis(place) if place else sjis(title))


def todo(deadline, priority, progress, done, done_date, category, memo, title):
    return (sjis(deadline) + b"%d%02d" % (priority, progress) + (b"1" if done else b"0") + done_date.encode()
            + pad(sjis(category), 14) + b"%02d" % memo + sjis(title))


def write(folder, name, lines):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(b"".join(line + b"\r\n" for line in lines))


failures = []
checks = []


def check(condition, what):
    checks.append(what)
    if not condition:
        failures.append(what)


def main(binary):
    home = tempfile.mkdtemp(prefix="kalendra-ics-")
    try:
        return check_export(binary, home)
    finally:
        shutil.rmtree(home, ignore_errors=True)


def check_export(binary, home):
    write(home, "Kalendra.ini", [b"[Kalendra]", b"Ver=3.01", b"[Sound]", b"Alarm=1", b"AlarmTime=15"])
    write(home, "202605.sch", [
        schedule(1, "", "", "", False, False, "メーデー"),
        schedule(9, "09:00", "10:30", "仕事", True, True, "朝会; 定例", "会議室A"),
        schedule(10, "22:00", "02:00", "仕事,重要", False, False, "夜勤\\明け, 点検", "A;B"),
        schedule(20, "23:00", "", "", False, True, "夜行"),
    ])
    write(home, "ToDo.dat", [
        todo("2026/05/20", 0, 3, False, datetime.date.today().strftime("%Y/%m/%d"), "仕事", 1, "報告書"),  # done today, as read
        todo("期限日なし", 3, 10, True, "2026/05/02", "", 0, "済み"),
    ])
    write(home, "ToDoMemo.dat", [b"01," + sjis("一行目,二行目")])

    files = []
    for name in ("a.ics", "b.ics"):
        path = os.path.join(home, name)
        before = datetime.datetime.utcnow().replace(microsecond=0)
        run = subprocess.run([binary, "--home", home, "--export-ics", "2026/05/01", "2026/05/31", path],
                             capture_output=True, text=True)
        after = datetime.datetime.utcnow()
        check(run.returncode == 0, "export exit code %d: %s" % (run.returncode, run.stdout + run.stderr))
        with open(path, "rb") as f:
            files.append(f.read())
        stamps = {datetime.datetime.strptime(s.decode(), "%Y%m%dT%H%M%SZ") for s in re.findall(rb"DTSTAMP:(\S+)", files[-1])}
        check(all(before <= s <= after for s in stamps), "DTSTAMP is the time of writing: %s" % stamps)
    check(re.sub(rb"DTSTAMP:\S+", b"", files[0]) == re.sub(rb"DTSTAMP:\S+", b"", files[1]), "exporting twice differs")

    cal = icalendar.Calendar.from_ical(files[0])
    for component in cal.walk():
        check(not component.errors, "%s has errors: %s" % (component.name, component.errors))
    check(str(cal["VERSION"]) == "2.0", "VERSION")
    check("PRODID" in cal, "PRODID")
    zones = [c for c in cal.walk("VTIMEZONE")]
    check(len(zones) == 1 and str(zones[0]["TZID"]) == "Asia/Tokyo", "one VTIMEZONE Asia/Tokyo")

    events = {str(e["SUMMARY"]): e for e in cal.walk("VEVENT")}
    check(sorted(events) == sorted(["メーデー", "朝会; 定例", "夜勤\\明け, 点検", "夜行"]), "summaries: %s" % sorted(events))
    uids = [str(c["UID"]) for c in cal.walk() if c.name in ("VEVENT", "VTODO")]
    check(len(uids) == 6 and len(set(uids)) == 6, "six distinct UIDs: %s" % uids)
    categories = [l.parts()[2] for l in Contentlines.from_ical(files[0].decode()) if l.startswith("CATEGORIES")]  # as written: this package splits at an escaped comma
    check(categories == ["仕事", "仕事,重要", "仕事"], "CATEGORIES as written: %s" % categories)
    for c in cal.walk():
        if c.name in ("VEVENT", "VTODO"):
            check("DTSTAMP" in c, "%s %s has DTSTAMP" % (c.name, c.get("SUMMARY")))

    allday = events.get("メーデー")
    if allday is not None:
        check(allday.decoded("DTSTART") == datetime.date(2026, 5, 1), "all-day DTSTART")
        check(allday.decoded("DTEND") == datetime.date(2026, 5, 2), "all-day DTEND")
        check(not allday.walk("VALARM"), "no alarm on an all-day event")

    timed = events.get("朝会; 定例")
    if timed is not None:
        start = timed.decoded("DTSTART")
        end = timed.decoded("DTEND")
        check(timed["DTSTART"].params.get("TZID") == "Asia/Tokyo", "DTSTART TZID")
        check(start.utcoffset() == datetime.timedelta(hours=9), "DTSTART in Japan time: %s" % start)
        check((start.hour, start.minute, start.date()) == (9, 0, datetime.date(2026, 5, 9)), "DTSTART %s" % start)
        check((end.hour, end.minute) == (10, 30), "DTEND %s" % end)
        check(str(timed["LOCATION"]) == "会議室A", "LOCATION")
        check(timed["CATEGORIES"].to_ical().decode() == "仕事", "CATEGORIES")
        alarms = timed.walk("VALARM")
        actions = sorted(str(a["ACTION"]) for a in alarms)
        check(actions == ["AUDIO", "DISPLAY"], "VALARM actions %s" % actions)
        for alarm in alarms:
            check(alarm.decoded("TRIGGER") == datetime.timedelta(minutes=-15), "TRIGGER of the settings' lead time")

    night = events.get("夜行")
    if night is not None:
        check("DTEND" not in night, "no end time, no DTEND")
        check([str(a["ACTION"]) for a in night.walk("VALARM")] == ["DISPLAY"], "message flag only")

    todos = {str(t["SUMMARY"]): t for t in cal.walk("VTODO")}
    check(sorted(todos) == sorted(["報告書", "済み"]), "VTODO summaries %s" % sorted(todos))
    report = todos.get("報告書")
    if report is not None:
        check(report.decoded("DUE") == datetime.date(2026, 5, 20), "DUE")
        check(int(report["PRIORITY"]) == 1, "PRIORITY of Ａ")
        check(int(report["PERCENT-COMPLETE"]) == 30, "PERCENT-COMPLETE")
        check(str(report["STATUS"]) == "IN-PROCESS", "STATUS of an open entry")
        check(str(report["DESCRIPTION"]) == "一行目\n二行目", "DESCRIPTION is the memo")
        check(report["CATEGORIES"].to_ical().decode() == "仕事", "VTODO CATEGORIES")
        check("COMPLETED" not in report, "no COMPLETED while open")
    done = todos.get("済み")
    if done is not None:
        check("DUE" not in done, "no DUE without a deadline")
        check(int(done["PRIORITY"]) == 7, "PRIORITY of Ｄ")
        check(int(done["PERCENT-COMPLETE"]) == 100, "PERCENT-COMPLETE of a done entry")
        check(str(done["STATUS"]) == "COMPLETED", "STATUS COMPLETED")
        completed = done.decoded("COMPLETED")
        check(completed == datetime.datetime(2026, 5, 1, 15, 0, tzinfo=datetime.timezone.utc)
              or completed.utctimetuple()[:5] == (2026, 5, 1, 15, 0), "COMPLETED %s" % completed)

    # Written again by the package, the file comes back as the same bytes.
    for component in cal.walk():
        if "CATEGORIES" in component:
            component["CATEGORIES"] = icalendar.prop.vCategory([categories.pop(0)])
    again = os.path.join(home, "again")
    os.mkdir(again)
    path = os.path.join(again, "written.ics")
    with open(path, "wb") as f:
        f.write(cal.to_ical())
    run = subprocess.run([binary, "--home", again, "--import-ics", path, "--from", "2026/05/01", "--to", "2026/05/31"],
                         capture_output=True, text=True)
    check(run.returncode == 0, "import exit code %d: %s" % (run.returncode, run.stdout + run.stderr))
    for name in ("202605.sch", "ToDo.dat", "ToDoMemo.dat"):
        with open(os.path.join(home, name), "rb") as a, open(os.path.join(again, name), "rb") as b:
            check(a.read() == b.read(), "%s comes back as it went" % name)

    for failure in failures:
        print("FAILED:", failure)
    print("%d checks, %d failed" % (len(checks), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
