#!/usr/bin/env bash
# Usage: bench/startup/run.sh BUILD_DIR [RUNS]
# Runs the start-up programs RUNS times each (default 10), alternating: the minimal Qt program, the
# fair yardstick (Tahoma text and one bitmap), the device layer alone and the program's main menu.
# Each is measured as a whole process (start to exit, peak resident memory) and from its own main
# to its first paint; prints the medians and the main menu against the yardstick.
# Headless by default; under X: QT_QPA_PLATFORM=xcb xvfb-run -a bench/startup/run.sh BUILD_DIR
# Under X one client stays connected throughout, as on a desktop: a server left by its last client
# resets, and the next start would wait for it. TALVINO_BENCH_X_RESETS=1 measures with the resets.
set -euo pipefail
build=${1:?build directory}
runs=${2:-10}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
folder=$build/bench/startup
measure=$folder/talvino_startup_measure
figures=$(mktemp -d)
trap 'rm -rf "$figures"' EXIT
programs=(qt_minimal qt_text device menu)
if [[ $QT_QPA_PLATFORM == xcb* && -x $folder/talvino_startup_x_client && -z ${TALVINO_BENCH_X_RESETS:-} ]]; then
    mkfifo "$figures/hold"
    "$folder/talvino_startup_x_client" <"$figures/hold" >"$figures/x_client" &
    exec 9>"$figures/hold" # the client ends when this script's end closes it
    for _ in $(seq 50); do
        grep -q connected "$figures/x_client" && break
        sleep 0.1
    done
fi
for _ in $(seq "$runs"); do
    for program in "${programs[@]}"; do
        [ -x "$folder/talvino_startup_$program" ] || continue
        "$measure" "$folder/talvino_startup_$program" 2>/dev/null | tail -2 | tr '\n' ' ' >>"$figures/$program"
        echo >>"$figures/$program"
    done
done
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2" | median; }
held=""
[ -s "$figures/x_client" ] && held=", one X client kept connected"
echo "platform $QT_QPA_PLATFORM, medians of $runs runs$held"
for program in "${programs[@]}"; do
    f=$figures/$program
    [ -s "$f" ] || continue
    field wall_ms "$f" >"$f.wall"
    sed -n 's/.*process wall_ms=[0-9.]* max_rss_kb=\([0-9]*\).*/\1/p' "$f" | median >"$f.rss"
    printf '%-11s process %7.1f ms, peak RSS %7d kB; first paint %6.1f ms after main\n' "$program" \
        "$(cat "$f.wall")" "$(cat "$f.rss")" "$(field first_paint_ms "$f")"
done
if [ -s "$figures/menu.wall" ] && [ -s "$figures/qt_text.wall" ]; then
    awk -v mw="$(cat "$figures/menu.wall")" -v tw="$(cat "$figures/qt_text.wall")" \
        -v mr="$(cat "$figures/menu.rss")" -v tr="$(cat "$figures/qt_text.rss")" \
        'BEGIN {printf "main menu / yardstick: time %.2f, peak memory %.2f\n", mw / tw, mr / tr}'
fi
