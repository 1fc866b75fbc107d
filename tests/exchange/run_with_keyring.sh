#!/bin/sh
# Runs a command on a private session bus beside an unlocked keyring, in a temporary home, so
# that the keyring functions meet a real Secret Service and no user's keyring is touched.
set -eu
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home"
exec dbus-run-session -- sh -c 'printf pw | gnome-keyring-daemon --unlock --components=secrets >/dev/null && "$@"' sh "$@"
