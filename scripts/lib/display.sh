# Starts a private virtual display (Xvfb on a free display number) and sets
# DISPLAY; stop_virtual_display ends it. Sourced by the scripts.

start_virtual_display() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    NUMVERA_XVFB_PID=$!
    local number
    read -r -t 30 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$number"
}

stop_virtual_display() {
    if [ -n "${NUMVERA_XVFB_PID:-}" ]; then
        kill "$NUMVERA_XVFB_PID" 2>/dev/null || true
        wait "$NUMVERA_XVFB_PID" 2>/dev/null || true
        NUMVERA_XVFB_PID=
    fi
}
