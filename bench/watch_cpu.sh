#!/bin/sh
# CPU time of `gaming-device-cli watch` over a run with all five products
# emulated (mouse by cable, keyboard, mouse pad, headset, and the mouse's
# receiver), as a share of one core.
#   bench/watch_cpu.sh [CLI] [SECONDS] [TARGET]
# With TARGET "none" no product is plugged, so every channel stays closed.
set -eu
cli=${1:-build/bin/gaming-device-cli}
seconds=${2:-20}
target=${3:-mouse}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
products=mouse,mouse-receiver,keyboard,mousepad,headset
if [ "$target" = none ]; then
    products=""
    target=mouse
fi
ticks=$(getconf CLK_TCK)
start=$(date +%s%N)
"$cli" --simulate "$products" --data-root "$data" watch "$target" "$seconds" > /dev/null 2>&1 &
pid=$!
# utime + stime of the process just before it ends
cpu=0
while kill -0 "$pid" 2> /dev/null; do
    if stat=$(cat /proc/$pid/stat 2> /dev/null); then
        cpu=$(echo "$stat" | sed 's/^.*) //' | awk '{print $12 + $13}')
    fi
    sleep 0.5
done
wait "$pid" || true
end=$(date +%s%N)
awk -v cpu="$cpu" -v t="$ticks" -v ns="$((end - start))" \
    'BEGIN { wall = ns / 1e9; printf "cpu %.2f s over %.1f s wall: %.2f %% of one core\n", cpu / t, wall, 100 * cpu / t / wall }'
