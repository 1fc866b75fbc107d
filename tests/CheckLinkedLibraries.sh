#!/bin/sh
# Fails when the program or a module links a library that only a later moment needs. The program
# maps neither Qt nor libical (the headless commands start with the core alone); the window
# module leaves out the network stack (the instance guard's plain socket does without), the audio
# stack, which the sound module brings in at the first sound, and HTTP, WebDAV XML and the
# keyring, which the CalDAV module brings in at the first sync; the
# iCalendar module needs no Qt. Usage: CheckLinkedLibraries.sh PROGRAM WINDOW_MODULE ICAL_MODULE
set -eu
status=0
# refuse FILE WHAT PATTERN: fails when FILE links a library matching PATTERN.
refuse() {
    linked=$(ldd "$1")
    echo "$linked" | grep -q 'libc\.so' || { echo "ldd did not list the libraries of $1" >&2; exit 1; }
    found=$(echo "$linked" | grep -E "$3" || true)
    if [ -n "$found" ]; then
        echo "$1 links $2:" >&2
        echo "$found" >&2
        status=1
    fi
}
refuse "$1" "Qt or libical, though only the window and the iCalendar commands need them" 'libQt6|libical|libicu'
refuse "$2" "the network stack or what only sounds or the sync need" 'libQt6Network|libQt6Multimedia|libpulse|libsndfile|libasound|libcurl|libxml2|libsecret'
refuse "$3" "Qt" 'libQt6'
[ "$status" -eq 0 ] && echo "no library linked before it is needed"
exit "$status"
