# Starts a private virtual display (Xvfb on a free display number) and sets
# DISPLAY; stop_virtual_display ends it. Sourced by the scripts. The screen
# is 1280x1024 unless given (start_virtual_display 1920x1080). Its work area
# leaves out a bar of 40 pixels at the bottom, as a desktop's taskbar does,
# so that what is placed on the work area is told from what is placed on
# the whole screen; Wine reads it from the root window's _NET_WORKAREA.

start_virtual_display() {
    local size=${1:-1280x1024}
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    NUMVERA_XVFB_PID=$!
    local number
    read -r -t 30 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$number"
    local width=${size%x*} height=${size#*x}
    xprop -root -f _NET_WORKAREA 32cccc -set _NET_WORKAREA "0, 0, $width, $((height - 40))"
}

stop_virtual_display() {
    if [ -n "${NUMVERA_XVFB_PID:-}" ]; then
        kill "$NUMVERA_XVFB_PID" 2>/dev/null || true
        wait "$NUMVERA_XVFB_PID" 2>/dev/null || true
        NUMVERA_XVFB_PID=
    fi
}
