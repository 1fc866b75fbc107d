#!/bin/sh
# Runs every benchmark with its baseline and prints one table: what, our figure, the baseline
# measured in the same run, their ratio, the target and whether it is met (or by how much not).
# Google Benchmark figures are medians of repetitions; the scripts alternate ours and the
# baseline and report medians or best rounds. Usage: bench/run.sh [build folder] [repetitions]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
reps=${2:-5}
rows=$(mktemp /tmp/kalendra-bench-rows-XXXXXX)
log=$(mktemp /tmp/kalendra-bench-log-XXXXXX)
trap 'rm -f "$rows" "$log"' EXIT

# The median of one Google Benchmark, in the given column (real or cpu) and unit, followed by the
# medians of the counters named after it.
gbench() { # program benchmark real|cpu [counter...]
    program=$1 benchmark=$2 column=$3
    shift 3
    "$build/bench/$program" --benchmark_filter="^$benchmark\$" --benchmark_repetitions="$reps" \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>>"$log" |
        awk -F, -v name="\"${benchmark}_median\"" -v col="$column" -v counters="$*" '
            /^name,/ { for (i = 1; i <= NF; i++) at[$i] = i }
            $1 == name {
                out = (col == "cpu") ? $4 : $3
                n = split(counters, wanted, " ")
                for (i = 1; i <= n; i++) out = out " " $at["\"" wanted[i] "\""]
                print out
            }'
}

# what|ours|baseline|unit|kind|target: kind "max" (ours below target), "ratio" (ours / baseline
# at most target), "diff" (ours - baseline at most target), "none" (no target, shown for reference).
row() { echo "$1|$2|$3|$4|$5|$6" >> "$rows"; }

echo "running Google Benchmark programs..." >&2
one=$(gbench MonthBuildBench BM_MonthBuild/1 cpu)
ten=$(gbench MonthBuildBench BM_MonthBuild/10 cpu)
hundred=$(gbench MonthBuildBench BM_MonthBuild/100 cpu)
row "Month build, 10 years (CPU; baseline 1 year)" "$ten" "$one" us max 100
row "Month build, 100 years / 1 year (flat)" "$hundred" "$one" us ratio 1.2
row "Month build + 42 cells, almanac shown (CPU; baseline not shown)" "$(gbench MonthBuildBench BM_MonthBuildAndCells/1 cpu)" \
    "$(gbench MonthBuildBench BM_MonthBuildAndCells/0 cpu)" us max 100
row "CSV import 10,000 lines (baseline: the 100 saves)" "$(gbench CsvImportBench BM_CsvImport10000LinesOver100Months real)" \
    "$(gbench CsvImportBench BM_Save100MonthFiles real)" ms max 1000
row "List window ALL, 10 years" "$(gbench ListWindowBench BM_ListWindowAllTenYears real)" - ms max 300
row "List window ALL, 100 years" "$(gbench ListWindowBench BM_ListWindowAllHundredYears real)" - ms max 2000
row "Week view: switch to it" "$(gbench WeekViewBench BM_SwitchToWeekView real)" - ms max 10
row "Week view: move one week" "$(gbench WeekViewBench BM_MoveOneWeek real)" - ms max 10
save=$(gbench FolderLockBench BM_ScheduleSave/manual_time real without_ms)
row "Schedule save, 10 years: with the folder lock (baseline: without)" "${save% *}" "${save#* }" ms diff 1
row "Folder lock taken and released, 10 years" "$(gbench FolderLockBench BM_FolderLockTakenAndReleased real)" - us none -
row "Alarm timer: minute check, 100 alarms" "$(gbench TimerBench MinuteCheck100 cpu)" - ns none -
row "ToDo panel fill, 2,000 entries" "$(gbench TodoPanelBench BM_TodoPanelFill real)" - ms none -
row "Memos of all ten years" "$(gbench MemoBench BM_AllDayMemos real)" - ms none -
row "iCalendar import of its own 10-year export, UID-matched (CPU)" \
    "$(gbench IcalExportBench BM_IcalReimportTenYears cpu)" - ms none -
row "Identities carried through one correction, 6,100 (CPU)" \
    "$(gbench IcalExportBench BM_IdentitiesFollowOneCorrection cpu)" - ms none -

echo "running the sync against Radicale..." >&2
row "Sync: first sync down of 6,000 events (wall)" "$(gbench SyncBench BM_FirstSyncDown6000/iterations:1/real_time real)" - ms max 15000
row "Sync: nothing changed, 6,000 events (wall)" "$(gbench SyncBench BM_UnchangedSync6000/real_time real)" - ms max 500
row "Sync: 1,000 new local records up (wall)" "$(gbench SyncBench BM_Up1000NewRecords/iterations:1/real_time real)" - ms max 60000
memory=$(gbench SyncBench BM_SyncProcessMemory6000/iterations:1/real_time real peak_rss_mib)
row "Sync: peak resident of kalendra --sync, 6,000 events down" "${memory#* }" - MiB max 80

echo "running search.sh..." >&2
search=$("$here/search.sh" "$build/kalendra" "$reps" 2>>"$log" | sed -n 's/^best: search \([0-9]*\) ms, grep -c \([0-9]*\) ms.*/\1 \2/p')
row "--search, 100 years (baseline grep -c)" "${search% *}" "${search#* }" ms ratio 2

echo "running print-pdf.sh..." >&2
pdf=$("$here/print-pdf.sh" "$build/kalendra" "$reps" 2>>"$log" | sed -n 's/.*wall mean \([0-9]*\) ms.*/\1/p')
row "--print-pdf of a full month" "$pdf" - ms max 500

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
result() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p"; }
start=$("$here/startup.sh" "$build" "$reps" 10 24 2>>"$log" | grep '^RESULT')
start=" ${start#RESULT}"
row "Start-up to the mapped window, 10 years (baseline bare QLabel)" "$(echo "$start" | result ours_ms)" \
    "$(echo "$start" | result bare_ms)" ms ratio 2
row "Resident after start-up, 10 years (baseline bare QLabel)" "$(echo "$start" | result ours_mib)" \
    "$(echo "$start" | result bare_mib)" MiB max 40
small=$("$here/startup.sh" "$build" "$reps" 1 24 2>>"$log" | grep '^RESULT')
large=$("$here/startup.sh" "$build" "$reps" 100 365 2>>"$log" | grep '^RESULT')
row "Resident, 100 years + 36,500 memos (baseline 1 year)" "$(echo " ${large#RESULT}" | result ours_mib)" \
    "$(echo " ${small#RESULT}" | result ours_mib)" MiB diff 2

echo "machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), load $(cut -d' ' -f1-3 /proc/loadavg), $(date -u +%Y-%m-%d)"
awk -F'|' '
    function num(s) { return s == "" || s == "-" ? "" : s + 0 }
    BEGIN {
        printf "| %-62s | %10s | %10s | %6s | %-10s | %-22s |\n", "what", "ours", "baseline", "ratio", "target", "verdict"
        printf "|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------------------------------", "------------", "------------", "--------", "------------", "------------------------"
        failed = 0
    }
    {
        ours = $2; base = $3; unit = $4; kind = $5; target = $6
        ratio = (ours != "" && base != "-" && base != "" && base + 0 > 0) ? sprintf("%.2f", ours / base) : "-"
        if (ours == "") { verdict = "NOT MEASURED"; failed = 1 }
        else if (kind == "none") { goal = "-"; verdict = "(reference)" }
        else {
            if (kind == "max") { value = ours; goal = "< " target " " unit }
            else if (kind == "ratio") { value = ratio; goal = "<= " target "x" }
            else { value = sprintf("%.1f", ours - base); goal = "diff <= " target " " unit }
            if (value + 0 <= target + 0) verdict = "met"
            else { verdict = sprintf("MISSED by %.0f%%", (value / target - 1) * 100); failed = 1 }
        }
        printf "| %-62s | %7s %-2s | %7s %-2s | %6s | %-10s | %-22s |\n", $1, ours == "" ? "?" : sprintf("%.1f", ours), unit,
               base == "-" || base == "" ? "-" : sprintf("%.1f", base), base == "-" ? "" : unit, ratio, goal, verdict
    }
    END { exit failed }' "$rows"
