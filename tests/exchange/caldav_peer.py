#!/usr/bin/python3
"""An independent CalDAV client for the tests (python3-caldav), to change items on the server and
read what Kalendra sent. Usage: caldav_peer.py URL USER PASSWORD COMMAND...; each COMMAND is one
argument of words, and prints one line:
  mkcal CAL COMPONENTS         e.g. "mkcal home VEVENT,VTODO"
  add CAL UID SUMMARY          an event on 2026-05-01 10:00 UTC, stored as UID.ics
  edit CAL UID SUMMARY
  delete CAL UID
  show CAL NAME                the SUMMARY of the item stored as NAME, or "missing"
"""
import datetime
import sys

import caldav
import caldav.lib.error
import icalendar


def event_text(uid, summary):
    start = datetime.datetime(2026, 5, 1, 10, 0, tzinfo=datetime.timezone.utc)
    event = icalendar.Event()
    event.add("uid", uid)
    event.add("dtstamp", start)
    event.add("dtstart", start)
    event.add("dtend", start + datetime.timedelta(hours=1))
    event.add("summary", summary)
    cal = icalendar.Calendar()
    cal.add("prodid", "-//peer//test//EN")
    cal.add("version", "2.0")
    cal.add_component(event)
    return cal.to_ical().decode()


def main(url, user, password, *commands):
    client = caldav.DAVClient(url, username=user, password=password)
    principal = client.principal()

    def calendar(name):
        return principal.calendar(cal_id=name)

    for command in commands:
        op, name, *rest = command.split(" ")
        if op == "mkcal":
            principal.make_calendar(name=name, cal_id=name, supported_calendar_component_set=rest[0].split(","))
        elif op == "add":
            calendar(name).save_event(event_text(rest[0], rest[1]))
        elif op == "edit":
            item = calendar(name).event_by_uid(rest[0])
            item.icalendar_instance.walk("VEVENT")[0]["SUMMARY"] = rest[1]
            item.save()
        elif op == "delete":
            calendar(name).event_by_uid(rest[0]).delete()
        elif op == "show":
            try:
                item = calendar(name).event_by_url(calendar(name).url.join(rest[0]))
                item.load()
                components = [c for c in item.icalendar_instance.walk() if "SUMMARY" in c]
                print(components[0]["SUMMARY"] if components else "no summary")
            except caldav.lib.error.NotFoundError:
                print("missing")
            continue
        print("ok")


if __name__ == "__main__":
    main(*sys.argv[1:])
