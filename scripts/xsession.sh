# Sourced by the run and test scripts: starts a private X server (Xvfb) and,
# when asked, a compositing manager; stops them on exit.
#   start_virtual_display [--compositor]   sets DISPLAY
start_virtual_display() {
    local fifo display_number
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp +extension XInputExtension \
        +extension XFIXES +extension SHAPE +extension XTEST 3>"$fifo" >/dev/null 2>&1 &
    TALVO_XVFB_PID=$!
    read -r display_number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display_number"
    if [ "${1:-}" = "--compositor" ]; then
        xcompmgr >/dev/null 2>&1 &
        TALVO_XCOMPMGR_PID=$!
    fi
    trap stop_virtual_display EXIT
}

stop_virtual_display() {
    [ -n "${TALVO_XCOMPMGR_PID:-}" ] && kill "$TALVO_XCOMPMGR_PID" 2>/dev/null || true
    [ -n "${TALVO_XVFB_PID:-}" ] && kill "$TALVO_XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
}
