#!/bin/sh
# Runs every benchmark with its baseline and prints one table: what, our figure, the baseline
# measured in the same run, their ratio and difference, the target and whether it is met (or by
# how much not), with the date and the machine's load average before and after.
# Google Benchmark figures are medians of repetitions (ours and its baseline interleaved); the
# scripts alternate ours and the baseline and report medians.
# Usage: bench/run.sh [build folder] [repetitions]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
reps=${2:-7}
rows=$(mktemp /tmp/kalendra-bench-rows-XXXXXX)
log=$(mktemp /tmp/kalendra-bench-log-XXXXXX)
trap 'rm -f "$rows"' EXIT
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# The medians of the Google Benchmarks a filter selects, as "name value" lines, in the given
# column (real or cpu); the repetitions of the benchmarks are interleaved at random.
gbench() { # program filter real|cpu
    "$build/bench/$1" --benchmark_filter="$2" --benchmark_repetitions="$reps" \
        --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2>>"$log" |
        awk -F, -v col="$3" '$1 ~ /_median"$/ { name = $1; gsub(/"|_median/, "", name); print name, (col == "cpu") ? $4 : $3 }'
}
# The median of a counter of one Google Benchmark.
counter() { # program benchmark counter
    "$build/bench/$1" --benchmark_filter="^$2\$" --benchmark_repetitions="$reps" \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>>"$log" |
        awk -F, -v name="\"$2_median\"" -v c="\"$3\"" '/^name,/ { for (i = 1; i <= NF; i++) at[$i] = i } $1 == name { print $at[c] }'
}
pick() { awk -v name="$1" '$1 == name { print $2 }'; } # from gbench's lines
one() { gbench "$1" "^$2\$" "$3" | pick "$2"; }
# A field of a script's "RESULT name=value ..." line.
field() { echo " $1 " | sed -n "s/.* $2=\([0-9.]*\) .*/\1/p"; }

# what|ours|baseline|unit|kind|target: kind "max" (ours below target), "ratio" (ours / baseline
# at most target), "diff" (ours - baseline at most target), "none" (no target, shown for reference).
row() { echo "$1|$2|$3|$4|$5|$6" >> "$rows"; }

echo "running Google Benchmark programs..." >&2
month=$(gbench MonthBuildBench '^BM_MonthBuild(Floor)?/' cpu)
row "Month build, 10 years (CPU; baseline: reading its files)" "$(echo "$month" | pick BM_MonthBuild/10)" \
    "$(echo "$month" | pick BM_MonthBuildFloor/10)" us ratio 1.5
row "Month build, 100 years / 1 year (CPU; flat)" "$(echo "$month" | pick BM_MonthBuild/100)" \
    "$(echo "$month" | pick BM_MonthBuild/1)" us ratio 1.2
# The search's processor time is that of all its threads.
search=$(gbench SearchBench '^BM_(SearchSchedules/0/process_time|SearchSchedulesFloor|ListSearchFolder)$' cpu)
row "Search of 100 years of month files, in process (CPU of its threads; baseline: reading them)" \
    "$(echo "$search" | pick BM_SearchSchedules/0/process_time)" "$(echo "$search" | pick BM_SearchSchedulesFloor)" \
    ms none -
row "Listing that folder of 37,701 names, which a search needs after its names changed (CPU)" \
    "$(echo "$search" | pick BM_ListSearchFolder)" - ms none -
row "CSV import 10,000 lines (baseline: the 100 saves)" "$(one CsvImportBench BM_CsvImport10000LinesOver100Months real)" \
    "$(one CsvImportBench BM_Save100MonthFiles real)" ms max 1000
row "List window ALL, 10 years" "$(one ListWindowBench BM_ListWindowAllTenYears real)" - ms max 300
row "List window ALL, 100 years" "$(one ListWindowBench BM_ListWindowAllHundredYears real)" - ms max 2000
row "Week view: switch to it" "$(one WeekViewBench BM_SwitchToWeekView real)" - ms max 10
row "Week view: move one week" "$(one WeekViewBench BM_MoveOneWeek real)" - ms max 10
row "Alarm timer: minute check, 100 alarms" "$(one TimerBench MinuteCheck100 cpu)" - ns none -
row "ToDo panel fill, 2,000 entries" "$(one TodoPanelBench BM_TodoPanelFill real)" - ms none -
row "Memos of all ten years" "$(one MemoBench BM_AllDayMemos real)" - ms none -
# Apart: the two builds count their lines, the first showing does not, and one CSV table wants the
# same counters in every row.
feeds=$(gbench FeedMonthBuildBench '^BM_MonthBuildWithFeeds/' cpu)
row "Month build with 3 subscribed calendars of 2,000 events (CPU; baseline: without them)" \
    "$(echo "$feeds" | pick BM_MonthBuildWithFeeds/1/min_warmup_time:1.000)" \
    "$(echo "$feeds" | pick BM_MonthBuildWithFeeds/0/min_warmup_time:1.000)" us ratio 2
row "A year of one such calendar's recurrences, first shown (CPU)" "$(one FeedMonthBuildBench BM_FeedMonthFirstShown cpu)" \
    - ms none -

row "Month build + 42 cells, almanac shown (CPU; baseline not shown)" \
    "$(one MonthBuildBench BM_MonthBuildAndCells/1 cpu)" "$(one MonthBuildBench BM_MonthBuildAndCells/0 cpu)" us max 100
row "Schedule save, 10 years: with the folder lock (baseline: without)" \
    "$(one FolderLockBench BM_ScheduleSave/manual_time real)" \
    "$(counter FolderLockBench BM_ScheduleSave/manual_time without_ms)" ms diff 1
row "Folder lock taken and released, 10 years" "$(one FolderLockBench BM_FolderLockTakenAndReleased real)" - us none -
memosave=$(gbench FolderLockBench '^BM_MemoSave/' cpu)
row "Memo save beside 36,500 memos (CPU; baseline: beside 365; flat)" "$(echo "$memosave" | pick BM_MemoSave/36500)" \
    "$(echo "$memosave" | pick BM_MemoSave/365)" us ratio 1.2
row "iCalendar import of its own 10-year export, UID-matched (CPU)" \
    "$(one IcalExportBench BM_IcalReimportTenYears cpu)" - ms none -
row "Identities carried through one correction, 6,100 (CPU)" \
    "$(one IcalExportBench BM_IdentitiesFollowOneCorrection cpu)" - ms none -

echo "running headless.sh..." >&2
r=$("$here/headless.sh" "$build" "$((reps > 11 ? reps : 11))" 2>>"$log" | grep '^RESULT')
row "--search zzz, empty folder, wall (baseline bare C program)" "$(field "$r" ours_ms)" "$(field "$r" bare_ms)" ms max 5
row "--search zzz, empty folder, wall (baseline C++ program printing a line)" "$(field "$r" ours_ms)" \
    "$(field "$r" cxx_ms)" ms diff 1
row "--search zzz, empty folder, CPU (baseline bare C program)" "$(field "$r" ours_cpu_ms)" \
    "$(field "$r" bare_cpu_ms)" ms none -
row "--search zzz, empty folder, peak resident (bare C program)" "$(field "$r" ours_mib)" "$(field "$r" bare_mib)" \
    MiB diff 4

echo "running the sync against Radicale and Xandikos..." >&2
row "Sync: first sync down of 6,000 events (wall)" "$(one SyncBench BM_FirstSyncDown6000/iterations:1/real_time real)" - ms max 15000
sync_noop=$(gbench SyncBench '^BM_(UnchangedSync6000/real_time|ServerSyncReport6000/manual_time)$' real)
row "Sync: nothing changed, 6,000 events (wall; baseline: Radicale's answer to its REPORT, by curl)" \
    "$(echo "$sync_noop" | pick BM_UnchangedSync6000/real_time)" \
    "$(echo "$sync_noop" | pick BM_ServerSyncReport6000/manual_time)" ms ratio 1.2
row "Sync: first sync down of 6,000 events from Xandikos (wall; baseline: one calendar-query of them, by curl)" \
    "$(one SyncBench BM_FirstSyncDownXandikos6000/iterations:1/real_time real)" \
    "$(one SyncBench BM_XandikosCalendarQuery6000/iterations:1/manual_time real)" ms ratio 2
identities=$(gbench SyncIdentityBench '^BM_ScheduleSaveBesidePastIdentities/' real)
row "Schedule save beside 100,000 past identities, after the next sync (baseline: none)" \
    "$(echo "$identities" | pick BM_ScheduleSaveBesidePastIdentities/2/real_time)" \
    "$(echo "$identities" | pick BM_ScheduleSaveBesidePastIdentities/0/real_time)" ms ratio 1.2
row "Schedule save beside 100,000 past identities, before the next sync forgets them" \
    "$(echo "$identities" | pick BM_ScheduleSaveBesidePastIdentities/1/real_time)" - ms none -
row "Sync: 1,000 new local records up (wall)" "$(one SyncBench BM_Up1000NewRecords/iterations:1/real_time real)" - ms max 60000
row "Sync: peak resident of kalendra --sync, 6,000 events down" \
    "$(counter SyncBench BM_SyncProcessMemory6000/iterations:1/real_time peak_rss_mib)" - MiB max 80

echo "running search.sh..." >&2
r=$("$here/search.sh" "$build/kalendra" "$reps" 2>>"$log" | grep '^RESULT')
row "--search, 100 years of month files, wall (baseline grep -c)" "$(field "$r" search_ms)" "$(field "$r" grep_ms)" \
    ms ratio 1.2
row "--search, 100 years of month files, CPU (baseline grep -c)" "$(field "$r" search_cpu_ms)" \
    "$(field "$r" grep_cpu_ms)" ms none -
row "--search, 100 years of month files, wall (baseline grep -rc listing the folder)" "$(field "$r" search_ms)" \
    "$(field "$r" grep_listing_ms)" ms none -
row "--search after a file was added to that folder, wall (baseline grep -rc listing it)" \
    "$(field "$r" changed_ms)" "$(field "$r" grep_listing_ms)" ms none -
row "--search --memos, 36,500 memo files, wall (baseline grep -c)" "$(field "$r" memos_ms)" \
    "$(field "$r" grep_memos_ms)" ms none -

echo "running print-pdf.sh..." >&2
r=$("$here/print-pdf.sh" "$build/kalendra" "$reps" 2>>"$log" | grep '^RESULT')
row "--print-pdf of a full month, wall" "$(field "$r" wall_ms)" - ms max 500

echo "running lunar.sh..." >&2
lunar=$("$here/lunar.sh" "$build/kalendra" "$reps" 2>>"$log" | sed -n 's/.*wall mean \([0-9]*\) ms.*/\1/p')
row "--lunar 1900/01/01 2099/12/31" "$lunar" - ms max 200
# What the almanac's tables and lookups take in the program: the allocated sections of their
# object file (the rokuyo table's for comparison).
objectKb() {
    size -A "$build/src/CMakeFiles/kalendra_core.dir/calendar/$1.cpp.o" 2>>"$log" |
        awk '$1 ~ /^\.(text|rodata|data)/ { s += $2 } END { if (s) printf "%.1f", s / 1024 }'
}
row "Almanac tables in the program (baseline: the rokuyo table)" "$(objectKb Almanac)" "$(objectKb Rokuyo)" KB max 200

echo "running startup.sh (10 years, then 1 and 100 years for memory)..." >&2
r=$("$here/startup.sh" "$build" "$((reps > 11 ? reps : 11))" 10 24 2>>"$log" | grep '^RESULT')
row "Start-up to the mapped window, 10 years (baseline bare QLabel)" "$(field "$r" ours_ms)" "$(field "$r" bare_ms)" \
    ms ratio 1.3
row "Start-up, CPU until mapped, 10 years (baseline bare QLabel)" "$(field "$r" ours_cpu_ms)" \
    "$(field "$r" bare_cpu_ms)" ms none -
row "VmRSS after start-up, 10 years (baseline bare QLabel)" "$(field "$r" ours_rss_mib)" "$(field "$r" bare_rss_mib)" \
    MiB diff 5
row "PSS after start-up, 10 years (baseline bare QLabel)" "$(field "$r" ours_pss_mib)" "$(field "$r" bare_pss_mib)" \
    MiB none -
small=$("$here/startup.sh" "$build" "$reps" 1 24 2>>"$log" | grep '^RESULT')
large=$("$here/startup.sh" "$build" "$reps" 100 365 2>>"$log" | grep '^RESULT')
row "VmRSS, 100 years + 36,500 memos (baseline 1 year)" "$(field "$large" ours_rss_mib)" \
    "$(field "$small" ours_rss_mib)" MiB diff 2

echo "$(date -u '+%Y-%m-%d %H:%M UTC'); machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo);" \
     "load average (1, 5, 15 min) $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after"
awk -F'|' '
    function shown(v, unit) { return v == "" ? "?" : (v == "-" ? "-" : sprintf("%.*f %s", v + 0 < 10 ? 2 : 1, v, unit)) }
    BEGIN {
        printf "| %-62s | %12s | %12s | %6s | %10s | %-14s | %-16s |\n", "what", "ours", "baseline", "ratio", "difference", "target", "verdict"
        printf "|%s|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------------------------------", "--------------", "--------------", "--------", "------------", "----------------", "------------------"
        failed = 0
    }
    {
        ours = $2; base = $3; unit = $4; kind = $5; target = $6
        known = ours != "" && base != "-" && base != ""
        ratio = (known && base + 0 > 0) ? sprintf("%.2f", ours / base) : "-"
        diff = known ? sprintf("%+.*f", (ours - base < 10 && base - ours < 10) ? 2 : 1, ours - base) : "-"
        if (ours == "" || base == "") { verdict = "NOT MEASURED"; goal = "-"; unmeasured = 1 }
        else if (kind == "none") { goal = "-"; verdict = "(reference)" }
        else {
            if (kind == "max") { value = ours; goal = "< " target " " unit }
            else if (kind == "ratio") { value = ratio; goal = "<= " target "x" }
            else { value = ours - base; goal = "diff <= " target " " unit }
            if (value + 0 <= target + 0) verdict = "met"
            else { verdict = sprintf("MISSED by %.0f%%", (value / target - 1) * 100); failed = 1 }
        }
        printf "| %-62s | %12s | %12s | %6s | %10s | %-14s | %-16s |\n", $1, shown(ours, unit), shown(base, unit), ratio, diff, goal, verdict
    }
    END { exit unmeasured ? 2 : failed }' "$rows"
verdict=$?
# The scripts' messages stay for a look when something was not measured.
if [ "$verdict" -eq 2 ]; then
    echo "messages of the scripts: $log"
else
    rm -f "$log"
fi
exit "$verdict"
