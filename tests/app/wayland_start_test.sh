#!/usr/bin/env bash
# The real program on a phone's Wayland screen: a headless weston of the test's own (720 x 1440
# pixels at scale 2, its socket in a fresh XDG_RUNTIME_DIR). The program asks for full screen,
# draws a buffer of the whole screen, and ends with status 0 when asked to end.
#   wayland_start_test.sh PROGRAM WORK_DIR
set -uo pipefail
. "$(dirname "$0")/../support/exit_status.sh"
program=$1 work=$2
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
finish() {
    [ -n "${started:-}" ] && kill -KILL "$started" 2>/dev/null
    [ -n "${compositor:-}" ] && kill "$compositor" 2>/dev/null && wait "$compositor" 2>/dev/null
    if [ "$failures" -eq 0 ]; then echo "wayland test passed"; exit 0; fi
    echo "$failures failure(s)"
    exit 1
}

rm -rf "$work" && mkdir -p "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
socket=talvino-test
XDG_RUNTIME_DIR="$work/runtime" weston --backend=headless-backend.so --socket="$socket" \
    --width=360 --height=720 --scale=2 --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 1 100); do
    [ -S "$work/runtime/$socket" ] && break
    sleep 0.1
done
[ -S "$work/runtime/$socket" ] || { fail "weston did not start: $(cat "$work/weston.log")"; finish; }

# The client's side of the protocol tells what it asked for and what it drew.
env -u DISPLAY -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$program" >"$work/talvino.out" 2>"$work/talvino.log" &
started=$!
drawn=
for _ in $(seq 1 200); do
    # A buffer as large as the screen (720 x 1440 pixels), attached and committed.
    if grep -Eq 'create_buffer\([^)]*, 720, 1440,' "$work/talvino.log" && grep -q 'wl_surface@[0-9]*\.commit' "$work/talvino.log"; then
        drawn=yes
        break
    fi
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
done
[ -n "$drawn" ] || fail "no full-screen buffer was drawn; buffers made: $(grep -o 'create_buffer([^)]*)' "$work/talvino.log" | sort -u | head -5)"
grep -q 'xdg_toplevel@[0-9]*\.set_fullscreen' "$work/talvino.log" || fail "the program did not ask for full screen on a phone's screen"
grep -q "set_app_id(\"example.talvino_weinfuehrer.talvino\")" "$work/talvino.log" ||
    fail "the app id is not the desktop entry's: $(grep -o 'set_app_id([^)]*)' "$work/talvino.log")"

kill -TERM "$started" 2>/dev/null
exit_status_within "$started" 100
started=
[ "$status" = 0 ] || fail "the program did not end with status 0 (status ${status:-still running}); its errors:
$(grep -v '^\[' "$work/talvino.log" | tail -20)"
finish
