#!/usr/bin/env bash
# What a screen reader says while keys are typed into Talvino: the program under an X server of
# its own with Orca on a readers' bus, speech going to speech-dispatcher's dummy output, and what
# Orca would have spoken taken from its debug log. Needs orca and speech-dispatcher (not
# installed by ./test: no test runs them).
#   scripts/hear.sh [KEY...]   X key names as press_keys.py takes them: "+Tab" is Shift+Tab,
#                              "_" waits a second. Default: the main menu's rows.
# TALVINO_CATALOGUE=FILE starts it on a copy of FILE instead of the build's catalogue.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${TALVINO_PROGRAM:-$root/build/app/talvino}
[ $# -gt 0 ] || set -- Tab Tab Tab Tab Tab _
for tool in orca speech-dispatcher Xvfb dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "hear.sh needs $tool (apt-get install orca xvfb)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'kill "${server:-}" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/home/.config/speech-dispatcher" "$work/runtime" && chmod 700 "$work/runtime"
printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' >"$work/home/.config/speech-dispatcher/speechd.conf"
cp "${TALVINO_CATALOGUE:-$root/build/app/talvino2006_db.cdb}" "$work/catalogue.cdb"
. "$root/tests/support/x_server.sh"
start_x_server "$work" || { echo "Xvfb did not start" >&2; exit 1; }
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export WORK="$work" PROGRAM="$program" KEYS="$root/tests/app/press_keys.py"
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    sleep 1
    speech-dispatcher -d -t 0 >/dev/null 2>&1
    orca --replace --disable=braille,braille-monitor --debug-file="$WORK/orca.log" >/dev/null 2>&1 &
    sleep 4
    QT_QPA_PLATFORM=xcb "$PROGRAM" --catalogue "$WORK/catalogue.cdb" >"$WORK/talvino.log" 2>&1 &
    program=$!
    "$KEYS" Talvino "$@"
    sleep 3
    kill $program 2>/dev/null
    pkill -P $$ 2>/dev/null || true
' hear "$@" 2>"$work/session.log"
# A spoken text may run over several lines of the log; it ends where Orca's voice settings follow.
awk '/SPEECH OUTPUT: / { sub(/.*SPEECH OUTPUT: /, ""); speaking = 1 }
     speaking { sub(/^ +/, ""); line = $0; if (sub(/ *\{.established.*/, "", line)) speaking = 0; print line }' \
    "$work/orca.log"

