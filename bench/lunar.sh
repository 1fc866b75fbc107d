#!/bin/sh
# Time of `kalendra --lunar 1900/01/01 2099/12/31`: the almanac of all 73,049 days of the tables,
# written to /dev/null. Usage: bench/lunar.sh [path/to/kalendra] [runs]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
binary=${1:-$here/../build/kalendra}
runs=${2:-10}
times=$(mktemp /tmp/kalendra-lunar-XXXXXX)
trap 'rm -f "$times"' EXIT

"$binary" --lunar 1900/01/01 2099/12/31 >/dev/null
run=1
while [ "$run" -le "$runs" ]; do
    start=$(date +%s%N)
    /usr/bin/time -a -o "$times" -f '%U %S' "$binary" --lunar 1900/01/01 2099/12/31 >/dev/null
    end=$(date +%s%N)
    echo "wall $(( (end - start) / 1000000 ))" >> "$times"
    run=$((run + 1))
done
awk -v runs="$runs" '
    $1 == "wall" { wall += $2; if ($2 > worst) worst = $2; next }
    { cpu += ($1 + $2) * 1000 }
    END {
        printf "--lunar 1900/01/01 2099/12/31: wall mean %d ms, worst %d ms; CPU mean %d ms; %d runs (target 200 ms)\n",
               wall / runs, worst, cpu / runs, runs
        exit (wall / runs < 200) ? 0 : 1
    }' "$times"
