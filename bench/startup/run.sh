#!/usr/bin/env bash
# Usage: bench/startup/run.sh BUILD_DIR [RUNS]
# Runs the start-up programs RUNS times each (default 10): the minimal Qt program, the fair
# yardstick (Tahoma text and one bitmap), the device layer alone, the program's main menu, and the
# main menu's first start (an empty cache, so it makes its bold face). Each round runs them in turn,
# every other round in the opposite order, so that none always follows the same one. Each is
# measured as a whole process (start to exit: wall time, CPU time of all its threads, peak resident
# memory) and from its own main to the end of its first paint; prints the medians and the main
# menu against the yardstick.
# The yardstick, the device layer and the menu draw at the same scale: TALVINO_BENCH_SCALE
# (default 2, the program's own on a screen at least 800 pixels high).
# Headless by default; under X: QT_QPA_PLATFORM=xcb xvfb-run -a bench/startup/run.sh BUILD_DIR
# Under X one client stays connected throughout, as on a desktop: a server left by its last client
# resets, and the next start would wait for it. TALVINO_BENCH_X_RESETS=1 measures with the resets.
set -euo pipefail
build=${1:?build directory}
runs=${2:-10}
scale=${TALVINO_BENCH_SCALE:-2}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
folder=$build/bench/startup
measure=$folder/talvino_startup_measure
figures=$(mktemp -d)
trap 'rm -rf "$figures"' EXIT
# The warm starts share one cache, filled by a start before the first round.
export XDG_CACHE_HOME=$figures/cache
programs=(qt_minimal qt_text device menu menu_first)
if [[ $QT_QPA_PLATFORM == xcb* && -x $folder/talvino_startup_x_client && -z ${TALVINO_BENCH_X_RESETS:-} ]]; then
    mkfifo "$figures/hold"
    "$folder/talvino_startup_x_client" <"$figures/hold" >"$figures/x_client" &
    exec 9>"$figures/hold" # the client ends when this script's end closes it
    for _ in $(seq 50); do
        grep -q connected "$figures/x_client" && break
        sleep 0.1
    done
fi
# One start of `program`, its figures appended to its file.
start() {
    local program=$1 binary=$1 cache=$XDG_CACHE_HOME
    if [ "$program" = menu_first ]; then
        binary=menu
        cache=$(mktemp -d "$figures/empty-cache.XXXXXX")
    fi
    [ -x "$folder/talvino_startup_$binary" ] || return 0
    local arguments=()
    [ "$program" != qt_minimal ] && arguments=(--scale "$scale")
    XDG_CACHE_HOME=$cache "$measure" "$folder/talvino_startup_$binary" "${arguments[@]}" 2>/dev/null |
        tail -2 | tr '\n' ' ' >>"$figures/$program"
    echo >>"$figures/$program"
    [ "$program" = menu_first ] && rm -rf "$cache"
    return 0
}
if [ -x "$folder/talvino_startup_menu" ]; then "$folder/talvino_startup_menu" --scale "$scale" >/dev/null 2>&1 || true; fi
for round in $(seq "$runs"); do
    order=("${programs[@]}")
    if ((round % 2 == 0)); then
        order=()
        for ((i = ${#programs[@]} - 1; i >= 0; i--)); do order+=("${programs[i]}"); done
    fi
    for program in "${order[@]}"; do start "$program"; done
done
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2" | median; }
held=""
[ -s "$figures/x_client" ] && held=", one X client kept connected"
echo "platform $QT_QPA_PLATFORM, scale $scale, medians of $runs runs in alternating order$held"
for program in "${programs[@]}"; do
    f=$figures/$program
    [ -s "$f" ] || continue
    sed -n 's/.*process wall_ms=\([0-9.]*\).*/\1/p' "$f" | median >"$f.wall"
    field cpu_ms "$f" >"$f.cpu"
    field max_rss_kb "$f" >"$f.rss"
    printf '%-11s process %7.1f ms, CPU %7.1f ms, peak RSS %7d kB; first paint %6.1f ms after main\n' \
        "$program" "$(cat "$f.wall")" "$(cat "$f.cpu")" "$(cat "$f.rss")" "$(field first_paint_ms "$f")"
done
for menu in menu menu_first; do
    [ -s "$figures/$menu.wall" ] && [ -s "$figures/qt_text.wall" ] || continue
    awk -v name="$menu" -v mw="$(cat "$figures/$menu.wall")" -v tw="$(cat "$figures/qt_text.wall")" \
        -v mc="$(cat "$figures/$menu.cpu")" -v tc="$(cat "$figures/qt_text.cpu")" \
        -v mr="$(cat "$figures/$menu.rss")" -v tr="$(cat "$figures/qt_text.rss")" \
        'BEGIN {printf "%-11s / yardstick: time %.2f, CPU %.2f, peak memory %.2f\n", name, mw / tw, mc / tc, mr / tr}'
done
