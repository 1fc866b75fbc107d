#!/bin/sh
# Installs the build into a fresh prefix as a desktop program and checks it there: the files in
# their places, the menu entry and the AppStream description valid, and the installed program
# working from its location (the XDG data folder as program folder, one instance per folder).
# Usage: CheckInstall.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d /tmp/kalendra-install-XXXXXX)
first=""
cleanup() {
    if [ -n "$first" ]; then kill "$first" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "CheckInstall: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.example.Kalendra
for file in bin/kalendra share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/kalendra" ] || fail "bin/kalendra cannot be run"
# The modules sit in the library folder the program looks in.
for module in window ical sound caldav; do
    [ -n "$(find "$prefix/lib"* -path "*/kalendra/libkalendra_$module.so" 2>/dev/null)" ] ||
        fail "the module libkalendra_$module.so is not installed"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net --strict "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the AppStream description is not valid"

# The installed program keeps its settings and data in the XDG data folder.
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" TMPDIR="$work"
export QT_QPA_PLATFORM=offscreen
unset KALENDRA_HOME
folder=$XDG_DATA_HOME/kalendra
mkdir -p "$HOME" "$folder"
printf '[Kalendra]\r\nVer=3.01\r\n' >"$folder/Kalendra.ini"
printf '2409:00     Work          0000Installed check\r\n' >"$folder/202612.sch"
"$prefix/bin/kalendra" --dump-month 2026 12 | grep -q "Installed check" ||
    fail "the installed program does not read the XDG data folder"

# The sync loads its module from the installed place: a server that is not there is what fails.
printf '[Sync]\r\nUrl=http://127.0.0.1:9/cal/\r\n' >>"$folder/Kalendra.ini"
"$prefix/bin/kalendra" --sync 2>&1 | grep -q "サーバーに接続できません" || fail "the installed program cannot sync"

# A second start on the same folder wakes the first and ends.
"$prefix/bin/kalendra" >"$work/first.log" 2>&1 &
first=$!
socket=$work/Kalendra-$(id -u)-$(printf '%s' "$(realpath "$folder")" | sha1sum | cut -c1-12)
tries=0
until [ -S "$socket" ]; do
    kill -0 "$first" 2>/dev/null || fail "the installed program ended at start: $(cat "$work/first.log")"
    tries=$((tries + 1))
    [ "$tries" -le 300 ] || fail "the installed program did not start listening"
    sleep 0.1
done
status=0
timeout 30 "$prefix/bin/kalendra" >/dev/null 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "a second start did not hand over to the first (exit $status)"
kill -0 "$first" 2>/dev/null || fail "the first instance ended when woken"
[ ! -e "$prefix/bin/Kalendra.ini" ] || fail "settings were written beside the program"
echo "CheckInstall: installed and started from $prefix"
