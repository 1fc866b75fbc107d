#!/usr/bin/python3
"""An independent CalDAV client for the tests (python3-caldav): caldav_peer.py URL USER PASSWORD COMMAND...
with commands "mkcal CAL VEVENT,VTODO", "add|edit CAL UID SUMMARY", "delete CAL UID", "show CAL NAME",
"put CAL NAME ICS" (ICS with \\n for its line ends), "set CAL UID PROPERTY VALUE" (on the item's first
component), "exdate CAL UID DATETIME", "desc CAL UID" (its DESCRIPTION) and "dump CAL" (one line per component: UID, RECURRENCE-ID, STATUS,
EXDATEs, SUMMARY)."""
import sys

import logging

import caldav
from icalendar.prop import vDDDTypes

EVENT = """BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//peer//test//EN\r\nBEGIN:VEVENT\r\nUID:{0}\r
DTSTAMP:20260101T000000Z\r\nDTSTART:20260501T100000Z\r\nDTEND:20260501T110000Z\r\nSUMMARY:{1}\r
END:VEVENT\r\nEND:VCALENDAR\r\n"""


def components(item):
    return [c for c in item.icalendar_instance.walk() if c.name in ("VEVENT", "VTODO")]


def dump(calendar):
    lines = []
    for item in calendar.events() + calendar.todos(include_completed=True):
        for c in components(item):
            exdates = c.get("EXDATE", [])
            exdates = exdates if isinstance(exdates, list) else [exdates]
            excluded = ",".join(d.to_ical().decode() for d in exdates)
            rid = c.get("RECURRENCE-ID")
            lines.append("|".join([str(c.get("UID")), rid.to_ical().decode() if rid else "", str(c.get("STATUS", "")),
                                   excluded, str(c.get("SUMMARY", ""))]))
    return sorted(lines)


def main(url, user, password, *commands):
    logging.getLogger().setLevel(logging.ERROR)
    principal = caldav.DAVClient(url, username=user, password=password).principal()
    for command in commands:
        op, name, *rest = command.split(" ", 3 if command.startswith(("put ", "set ")) else -1)
        calendar = principal.calendar(cal_id=name)
        if op == "mkcal":
            principal.make_calendar(name=name, cal_id=name, supported_calendar_component_set=rest[0].split(","))
        elif op == "add":
            calendar.save_event(EVENT.format(*rest))
        elif op == "edit":
            item = calendar.event_by_uid(rest[0])
            item.icalendar_instance.walk("VEVENT")[0]["SUMMARY"] = rest[1]
            item.save()
        elif op == "put":
            text = rest[1].replace("\\n", "\r\n")
            (calendar.save_todo if "BEGIN:VTODO" in text else calendar.save_event)(text)
        elif op == "set":
            item = calendar.object_by_uid(rest[0])
            prop, value = rest[1].split(" ", 1)
            components(item)[0][prop] = value
            item.save()
        elif op == "exdate":
            item = calendar.object_by_uid(rest[0])
            components(item)[0].add("EXDATE", vDDDTypes.from_ical(rest[1]))
            item.save()
        elif op == "delete":
            calendar.object_by_uid(rest[0]).delete()
        elif op == "show":
            item = calendar.event_by_url(calendar.url.join(rest[0]))
            item.load()
            print(item.icalendar_instance.walk("VEVENT")[0]["SUMMARY"])
            continue
        elif op == "desc":
            print(components(calendar.object_by_uid(rest[0]))[0].get("DESCRIPTION", ""))
            continue
        elif op == "dump":
            print("\n".join(dump(calendar)))
            continue
        print("ok")


if __name__ == "__main__":
    main(*sys.argv[1:])
