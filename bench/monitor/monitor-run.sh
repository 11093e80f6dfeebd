#!/usr/bin/env bash
# A long acquisition with the monitor window open, measured from outside: zt300sim serves two
# recorders of 64 channels at 10 kHz, zt300ctl connects, goes to ARMED, records and shows the
# monitor (chart type 0 or 1) for the given seconds; every 30 s the program's CPU time and
# resident memory are printed. Usage: bench/monitor/monitor-run.sh BUILD_DIR [seconds] [type]
set -euo pipefail
build=$(realpath "${1:?build folder}")
seconds=${2:-600}
type=${3:-0}
work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
for r in "ZT-300 127.0.0.2 MASTER" "ZT-500 127.0.0.3 SLAVE"; do
    set -- $r
    printf 'RECORDER %s %s\nSYNC %s\nRATE 10kHz\n' "$1" "$2" "$3"
    for s in 1 2 3 4 5 6 7 8; do
        echo "SLOT $s PN=QA-80VA TY=2 NCH=8 RV=10,5,2,1 CF=OFF,1kHz ON=1-8"
    done
done > "$work/two64.conf"
"$build/apps/zt300sim/zt300sim" --config "$work/two64.conf" > "$work/sim.log" &
sim=$!
sleep 2
HOME="$work" xvfb-run -a -s "-screen 0 1920x1080x24" "$build/apps/zt300ctl/zt300ctl" \
    --chart-type "$type" --arm "$seconds" --screenshot "$work/monitor.png" \
    127_0_0_2_ZT-300,127_0_0_3_ZT-500 > "$work/ctl.log" 2>&1 &
sleep 3
ctl=$(pgrep -n -f "zt300ctl --chart-type $type --arm $seconds")
tick=$(getconf CLK_TCK)
start=$(date +%s)
previous=0
while kill -0 "$ctl" 2>/dev/null; do
    read -r -a stat < "/proc/$ctl/stat" || break
    cpu=$((stat[13] + stat[14]))
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$ctl/status")
    printf '%4d s  cpu %6.2f s (%5.3f s per s)  resident %d kB\n' $(($(date +%s) - start)) \
        "$(echo "$cpu / $tick" | bc -l)" "$(echo "($cpu - $previous) / $tick / 30" | bc -l)" "$rss"
    previous=$cpu
    sleep 30
done
