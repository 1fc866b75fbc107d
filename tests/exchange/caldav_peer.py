#!/usr/bin/python3
"""An independent CalDAV client for the tests (python3-caldav): caldav_peer.py URL USER PASSWORD COMMAND...
with commands "mkcal CAL VEVENT,VTODO", "add|edit CAL UID SUMMARY", "delete CAL UID", "show CAL NAME"."""
import sys

import caldav

EVENT = """BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//peer//test//EN\r\nBEGIN:VEVENT\r\nUID:{0}\r
DTSTAMP:20260101T000000Z\r\nDTSTART:20260501T100000Z\r\nDTEND:20260501T110000Z\r\nSUMMARY:{1}\r
END:VEVENT\r\nEND:VCALENDAR\r\n"""


def main(url, user, password, *commands):
    principal = caldav.DAVClient(url, username=user, password=password).principal()
    for command in commands:
        op, name, *rest = command.split(" ")
        calendar = principal.calendar(cal_id=name)
        if op == "mkcal":
            principal.make_calendar(name=name, cal_id=name, supported_calendar_component_set=rest[0].split(","))
        elif op == "add":
            calendar.save_event(EVENT.format(*rest))
        elif op == "edit":
            item = calendar.event_by_uid(rest[0])
            item.icalendar_instance.walk("VEVENT")[0]["SUMMARY"] = rest[1]
            item.save()
        elif op == "delete":
            calendar.event_by_uid(rest[0]).delete()
        elif op == "show":
            item = calendar.event_by_url(calendar.url.join(rest[0]))
            item.load()
            print(item.icalendar_instance.walk("VEVENT")[0]["SUMMARY"])
            continue
        print("ok")


if __name__ == "__main__":
    main(*sys.argv[1:])
