# Sourced by the process tests: how a program they started has ended.

# exit_status_within PID TENTHS: waits up to TENTHS tenths of a second for PID (a child of this
# shell) to end and sets `status` to its exit status, or leaves it empty while it still runs.
exit_status_within() {
    status=
    for _ in $(seq 1 "$2"); do
        if ! kill -0 "$1" 2>/dev/null; then
            wait "$1"
            status=$?
            return 0
        fi
        sleep 0.1
    done
}
