#!/bin/sh
# The search against grep, side by side on the same files: 100 years of month files with 100
# schedules each (about 10 MB) and 36,500 daily memos. Each round times
#   kalendra --search KEYWORD            and  kalendra --search KEYWORD --memos
# against
#   grep -c KEYWORD *.sch                and  grep -c KEYWORD *.mem
# and the best of the rounds is compared; the search should need at most twice grep's time.
# Usage: bench/search.sh [path/to/kalendra] [rounds]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
binary=$(cd "$(dirname "${1:-$here/../build/kalendra}")" && pwd)/$(basename "${1:-kalendra}")
rounds=${2:-5}
home=$(mktemp -d /tmp/kalendra-search-XXXXXX)
trap 'rm -rf "$home"' EXIT
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

now() { date +%s%N; }
best_search=0
best_grep=0
round=0
cd "$home"
echo "data: $(ls ./*.sch | wc -l) month files ($(cat ./*.sch | wc -c) bytes), $(ls | grep -c '\.mem$') memo files"
while [ "$round" -le "$rounds" ]; do
    t0=$(now)
    "$binary" --home "$home" --search "$keyword" > "$home/.hits-schedules"
    t1=$(now)
    "$binary" --home "$home" --search "$keyword" --memos > "$home/.hits-memos"
    t2=$(now)
    grep -c "$keyword" -- *.sch > /dev/null || true
    t3=$(now)
    grep -c "$keyword" -- *.mem > /dev/null || true
    t4=$(now)
    search=$(( (t2 - t0) / 1000000 ))
    grepped=$(( (t4 - t2) / 1000000 ))
    # The first round warms the caches and is not counted.
    if [ "$round" -gt 0 ]; then
        echo "round $round: search $search ms (schedules $(( (t1 - t0) / 1000000 )) ms, memos $(( (t2 - t1) / 1000000 )) ms)," \
             "grep -c $grepped ms (schedules $(( (t3 - t2) / 1000000 )) ms, memos $(( (t4 - t3) / 1000000 )) ms)"
        if [ "$best_search" -eq 0 ] || [ "$search" -lt "$best_search" ]; then best_search=$search; fi
        if [ "$best_grep" -eq 0 ] || [ "$grepped" -lt "$best_grep" ]; then best_grep=$grepped; fi
    fi
    round=$((round + 1))
done
echo "hits: $(wc -l < "$home/.hits-schedules") schedules, $(wc -l < "$home/.hits-memos") memos"
echo "best: search $best_search ms, grep -c $best_grep ms, ratio $(awk -v s="$best_search" -v g="$best_grep" 'BEGIN { printf "%.2f", s / g }')"
if [ "$best_search" -le $((2 * best_grep)) ]; then
    echo "within twice grep's time"
else
    echo "SLOWER than twice grep's time"
    exit 1
fi
