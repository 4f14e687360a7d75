#!/usr/bin/env bash
# The program's X window destroyed from outside, on an X server of the test's own: the program
# ends as the main menu's "ok" ends it, with status 0 and its catalogue closed.
#   window_destroyed_test.sh PROGRAM CATALOGUE WORK_DIR
set -uo pipefail
. "$(dirname "$0")/../support/x_server.sh"
program_file=$1 catalogue=$2 work=$3
rm -rf "$work" && mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
cp "$catalogue" "$work/talvino2006_db.cdb"
finish() {
    [ -n "${program:-}" ] && kill -KILL "$program" 2>/dev/null
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    echo "$1"
    exit "$2"
}
start_x_server "$work" || finish "Xvfb did not start: $(cat "$work/xvfb.log")" 1
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program_file" --catalogue "$work/talvino2006_db.cdb" \
    >"$work/talvino.log" 2>&1 &
program=$!
"$(dirname "$0")/destroy_window.py" Talvino 30 || finish "the window could not be destroyed" 1
for _ in $(seq 1 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null && finish "the program runs on without its window" 1
wait "$program"
status=$?
program=
[ "$status" = 0 ] || finish "the program ended with status $status: $(cat "$work/talvino.log")" 1
[ -e "$work/talvino2006_db.cdb-journal" ] && finish "a journal was left behind" 1
finish "the program ended with status 0" 0
