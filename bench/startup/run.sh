#!/usr/bin/env bash
# Usage: bench/startup/run.sh BUILD_DIR [RUNS]
# Runs the start-up programs (device layer, minimal Qt, the program's main menu) RUNS times (default 10), alternating, headless, and prints the
# median first-paint time and peak memory of each.
set -euo pipefail
build=${1:?build directory}
runs=${2:-10}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
device=$build/bench/startup/talvino_startup_device
minimal=$build/bench/startup/talvino_startup_qt_minimal
menu=$build/bench/startup/talvino_startup_menu
: >/tmp/startup_device.txt
: >/tmp/startup_minimal.txt
: >/tmp/startup_menu.txt
for _ in $(seq "$runs"); do
    "$device" 2>/dev/null | tail -1 >>/tmp/startup_device.txt
    "$minimal" 2>/dev/null | tail -1 >>/tmp/startup_minimal.txt
    [ -x "$menu" ] && "$menu" 2>/dev/null | tail -1 >>/tmp/startup_menu.txt
done
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
for f in /tmp/startup_device.txt /tmp/startup_minimal.txt /tmp/startup_menu.txt; do
    [ -s "$f" ] || continue
    name=$(awk '{print $1; exit}' "$f")
    paint=$(sed 's/.*first_paint_ms=\([0-9.]*\).*/\1/' "$f" | median)
    rss=$(sed 's/.*max_rss_kb=\([0-9]*\).*/\1/' "$f" | median)
    echo "$name: median first paint ${paint} ms, median peak RSS ${rss} kB over $runs runs"
done
