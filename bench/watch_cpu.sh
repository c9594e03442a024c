#!/bin/sh
# CPU time of `gaming-device-cli watch` over a run with all five products
# emulated (mouse by cable, keyboard, mouse pad, headset, and the mouse's
# receiver), as a share of one core; start-up and exit included.
#   bench/watch_cpu.sh [CLI] [SECONDS] [TARGET] [REPEAT]
# With TARGET "none" nothing is emulated and the real hidraw nodes are
# scanned; on a machine without the products every channel stays closed.
# The run is repeated REPEAT times (default 1); each run prints one line and,
# with more than one, the median follows. The CPU time is the process's
# task clock from `perf stat` when perf works here, else the children's times
# of the shell (clock-tick resolution, 10 ms on most systems).
# Targets: under 3 % animating, under 0.2 % with every channel closed.
set -eu
cli=${1:-build/bin/gaming-device-cli}
seconds=${2:-20}
target=${3:-mouse}
repeat=${4:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
products=mouse,mouse-receiver,keyboard,mousepad,headset
if [ "$target" = none ]; then
    products=""
    target=mouse
fi
use_perf=0
if command -v perf > /dev/null 2>&1 && perf stat -x, -e task-clock -o "$work/probe" true > /dev/null 2>&1; then
    use_perf=1
fi

# One run: prints "<cpu seconds> <wall seconds>".
run_once() {
    rm -rf "$work/data"
    mkdir "$work/data"
    start=$(date +%s%N)
    if [ "$use_perf" = 1 ]; then
        perf stat -x, -e task-clock -o "$work/stat" -- \
            "$cli" --simulate "$products" --data-root "$work/data" watch "$target" "$seconds" > /dev/null 2>&1 || true
        end=$(date +%s%N)
        cpu=$(awk -F, '/task-clock/ { print $1 / 1000 }' "$work/stat")
    else
        # The children's times of a subshell that runs nothing but the program.
        cpu=$( (
            "$cli" --simulate "$products" --data-root "$work/data" watch "$target" "$seconds" > /dev/null 2>&1 || true
            times
        ) | awk 'NR == 2 {
            n = split($0, f, " "); s = 0
            for (i = 1; i <= n; ++i) { split(f[i], p, "m"); sub("s", "", p[2]); s += p[1] * 60 + p[2] }
            print s }')
        end=$(date +%s%N)
    fi
    echo "$cpu $(awk -v ns="$((end - start))" 'BEGIN { print ns / 1e9 }')"
}

i=0
: > "$work/runs"
while [ "$i" -lt "$repeat" ]; do
    i=$((i + 1))
    set -- $(run_once)
    echo "$1 $2" >> "$work/runs"
    awk -v cpu="$1" -v wall="$2" \
        'BEGIN { printf "cpu %.3f s over %.1f s wall: %.2f %% of one core\n", cpu, wall, 100 * cpu / wall }'
done
if [ "$repeat" -gt 1 ]; then
    awk '{ print 100 * $1 / $2 }' "$work/runs" | sort -n | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "median of %d runs: %.2f %% of one core\n", NR, m }'
fi
