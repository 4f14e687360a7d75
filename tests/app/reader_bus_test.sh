#!/usr/bin/env bash
# What a screen reader receives on the readers' bus (AT-SPI) from the real program under an X
# server of the test's own: in bookmark mode, Right and Left on the tree's first branch send its
# expanded state, on and off, for that row.
#   reader_bus_test.sh PROGRAM CATALOGUE WORK_DIR
set -uo pipefail
. "$(dirname "$0")/../support/x_server.sh"
program_file=$1 catalogue=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
cp "$catalogue" "$work/talvino2006_db.cdb"
sqlite3 "$work/talvino2006_db.cdb" \
    "INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ((SELECT min(ID) FROM talvino), 'Für Sonntag', '')" ||
    exit 1
finish() {
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    echo "$1"
    exit "$2"
}
start_x_server "$work" || finish "Xvfb did not start: $(cat "$work/xvfb.log")" 1
export XDG_RUNTIME_DIR="$work/runtime"
export WORK="$work" PROGRAM="$program_file" KEYS="$here/press_keys.py"
# A session bus of the test's own with the readers' bus on it, a listener in a reader's place.
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/bus.log" 2>&1 &
    launcher=$!
    for _ in $(seq 1 50); do
        address=$(dbus-send --session --dest=org.a11y.Bus --print-reply=literal /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | tr -d " ")
        [ -n "$address" ] && break
        sleep 0.1
    done
    dbus-monitor --address "$address" "type=signal,interface=org.a11y.atspi.Event.Object,member=StateChanged" \
        >"$WORK/heard.log" 2>&1 &
    monitor=$!
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$PROGRAM" --catalogue "$WORK/talvino2006_db.cdb" \
        >"$WORK/talvino.log" 2>&1 &
    program=$!
    "$KEYS" Talvino Tab Tab Tab Tab Tab Return _ Right _ Left _ Escape _ Escape
    for _ in $(seq 1 50); do kill -0 $program 2>/dev/null || break; sleep 0.1; done
    kill $program $monitor $launcher 2>/dev/null
    wait $program
'
status=$?
heard=$(grep -A2 '"expanded"' "$work/heard.log" | grep -o 'int32 [01]' | head -n 2 | tr '\n' ' ')
[ "$heard" = "int32 1 int32 0 " ] || finish "the reader heard no branch open and close (heard: '$heard'): $(tail -n 5 "$work/talvino.log")" 1
[ "$status" = 0 ] || finish "the program ended with status $status" 1
finish "the reader heard the branch open and close" 0
