#!/bin/sh
# The search against grep, side by side on the same files: 100 years of month files with 100
# schedules each (about 10 MB) and 36,500 daily memos. Each round times
#   kalendra --search KEYWORD            and  kalendra --search KEYWORD --memos
# against
#   grep -c KEYWORD *.sch                and  grep -c KEYWORD *.mem
# each from just before its exec to its end (build/bench/ExecTime), the two sides alternating in
# order. The medians of the rounds are compared; the search of the month files should need at
# most 1.2 times grep's wall time (the memos, one file a day, are shown beside it). The search
# reads on a thread per processor, grep on one: the CPU times are shown beside the wall times.
# Usage: bench/search.sh [path/to/kalendra] [rounds]
# The last line but one is "RESULT search_ms=... grep_ms=... search_cpu_ms=... grep_cpu_ms=...
# memos_ms=... grep_memos_ms=... memos_cpu_ms=... grep_memos_cpu_ms=... grep_listing_ms=...
# changed_ms=..." (month files, then memos, then grep -rc --include='*.sch' over the folder, then the
# program's first search after a file was added to the folder, when it lists the folder again).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
binary=$(cd "$(dirname "${1:-$here/../build/kalendra}")" && pwd)/$(basename "${1:-kalendra}")
rounds=${2:-7}
timer=$(dirname "$binary")/bench/ExecTime
work=$(mktemp -d /tmp/kalendra-search-XXXXXX)
trap 'rm -rf "$work"' EXIT
# The data folder holds only the data: an output written into it would change it every round.
home=$work/data
mkdir "$home"
keyword=Budget

printf '[Kalendra]\r\nVer=3.01\r\n' > "$home/Kalendra.ini"
# Shift-JIS texts written as octal bytes: 定例会議, 打ち合わせ, 本社第二会議室, 仕事, 私用,
# 牛乳を買う, 銀行に行く. One schedule in fifty and one memo in twenty holds the keyword.
awk -v dir="$home" -v key="$keyword" 'BEGIN {
    titles[0] = "\222\350\227\341\211\357\213\143"
    titles[1] = "\221\305\202\277\215\207\202\355\202\271 ABC"
    titles[2] = "Lunch with the team"
    titles[3] = "Weekly report"
    titles[4] = "\222\350\227\341\211\357\213\143 " key " review"
    place = "\226\173\216\320\221\346\223\361\211\357\213\143\216\272"
    cats[0] = "\216\144\216\226          "
    cats[1] = "\216\204\227\160          "
    cats[2] = "              "
    n = 0
    for (y = 1927; y <= 2026; ++y)
        for (m = 1; m <= 12; ++m) {
            file = sprintf("%s/%04d%02d.sch", dir, y, m)
            for (i = 0; i < 100; ++i) {
                d = int(i * 28 / 100) + 1
                t = (n % 50 == 7) ? titles[4] : titles[n % 4]
                start = (i % 5 == 0) ? "     " : sprintf("%02d:%02d", 8 + i % 10, (i % 2) * 30)
                line = sprintf("%02d%s%s%s00%d%d", d, start, "     ", cats[i % 3], i % 2, i % 2)
                if (i % 4 != 0)
                    line = line sprintf("%-40s", t) place
                else
                    line = line t
                printf "%s\r\n", line > file
                ++n
            }
            close(file)
        }
    split("31 28 31 30 31 30 31 31 30 31 30 31", length_of)
    day = 0
    for (y = 1927; y <= 2026 && day < 36500; ++y)
        for (m = 1; m <= 12 && day < 36500; ++m) {
            last = length_of[m] + (m == 2 && y % 4 == 0 && (y % 100 != 0 || y % 400 == 0))
            for (dd = 1; dd <= last && day < 36500; ++dd) {
                file = sprintf("%s/%04d%02d%02d.mem", dir, y, m, dd)
                printf "\213\215\223\373\202\360\224\203\202\244\r\n\213\342\215\163\202\311\215\163\202\255 %s\r\n", \
                    (day % 20 == 3) ? key " meeting" : "and the post office" > file
                close(file)
                ++day
            }
        }
}'

. "$here/common.sh"
# "wall_ms cpu_ms" of one run; the program's output goes to the file given first.
measure() {
    out=$1
    shift
    "$timer" -o "$out" "$@" | sed -n 's/^wall_ms=\([0-9.]*\) cpu_ms=\([0-9.]*\) .*/\1 \2/p'
}
ours() {
    echo "$(measure "$work/hits-schedules" "$binary" --home "$home" --search "$keyword")" \
         "$(measure "$work/hits-memos" "$binary" --home "$home" --search "$keyword" --memos)"
}
# Last, grep finding the month files itself as the program does, by listing the folder (for reference).
baseline() {
    echo "$(measure /dev/null grep -c "$keyword" -- ./*.sch)" "$(measure /dev/null grep -c "$keyword" -- ./*.mem)" \
         "$(measure /dev/null grep -rc --include='*.sch' "$keyword" .)"
}

r=$work/results
cd "$home"
echo "data: $(ls ./*.sch | wc -l) month files ($(cat ./*.sch | wc -c) bytes), $(ls | grep -c '\.mem$') memo files"
# The program keeps the names of the month files once the folder's times are three seconds old;
# the folder of the kept names, made by the first search that finds it settled, changes it once
# more, so the names are kept by a search three seconds after that one.
for settle in 1 2; do
    "$binary" --home "$home" --search "$keyword" >/dev/null
    sleep 3.5
done
alternate "$rounds" "$r" "search | grep -c: wall ms and CPU ms of the schedules, then of the memos; then grep -rc"
# Then the first search after a change of the folder's names, which lists the folder.
changed=$work/changed
: > "$changed"
round=1
while [ "$round" -le "$rounds" ]; do
    : > "$home/added" && rm "$home/added"
    # As a search the user asks for comes: later than the clock tick of the change.
    sleep 0.1
    measure /dev/null "$binary" --home "$home" --search "$keyword" >> "$changed"
    round=$((round + 1))
done
search_ms=$(column "$r" 1)
grep_ms=$(column "$r" 5)
echo "hits: $(wc -l < "$work/hits-schedules") schedules, $(wc -l < "$work/hits-memos") memos"
echo "RESULT search_ms=$search_ms grep_ms=$grep_ms search_cpu_ms=$(column "$r" 2) grep_cpu_ms=$(column "$r" 6)" \
     "memos_ms=$(column "$r" 3) grep_memos_ms=$(column "$r" 7) memos_cpu_ms=$(column "$r" 4)" \
     "grep_memos_cpu_ms=$(column "$r" 8) grep_listing_ms=$(column "$r" 9) changed_ms=$(column "$changed" 1)"
if awk -v s="$search_ms" -v g="$grep_ms" 'BEGIN { exit !(s <= 1.2 * g) }'; then
    echo "within 1.2 times grep's time"
else
    echo "SLOWER than 1.2 times grep's time"
    exit 1
fi
