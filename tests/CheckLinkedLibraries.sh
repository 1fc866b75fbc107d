#!/bin/sh
# Fails when the program links a library that only a later moment needs (or none: the network
# stack, which the instance guard's plain socket does without): the audio stack, which
# the sound module brings in at the first sound, and HTTP, WebDAV XML and the keyring, which the
# CalDAV module brings in at the first sync. Usage: CheckLinkedLibraries.sh PROGRAM
set -eu
linked=$(ldd "$1")
echo "$linked" | grep -q 'libQt6Widgets' || { echo "ldd did not list the program's libraries" >&2; exit 1; }
found=$(echo "$linked" | grep -E 'libQt6Network|libQt6Multimedia|libpulse|libsndfile|libasound|libcurl|libxml2|libsecret' || true)
if [ -n "$found" ]; then
    echo "linked at start, though only sounds or the sync need them:" >&2
    echo "$found" >&2
    exit 1
fi
echo "no audio, HTTP or keyring library linked at start"
