# Sourced by the process tests: an X server of the test's own.

# start_x_server DIR: starts Xvfb, sets `server` to its PID and exports DISPLAY; returns 1 (its
# log in DIR/xvfb.log) when it does not come up within five seconds.
start_x_server() {
    Xvfb -displayfd 3 -nolisten tcp -screen 0 800x700x24 3>"$1/display" >"$1/xvfb.log" 2>&1 &
    server=$!
    for _ in $(seq 1 50); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    [ -s "$1/display" ] || return 1
    export DISPLAY=":$(head -n 1 "$1/display")"
}
