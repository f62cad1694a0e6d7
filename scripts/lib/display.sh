# Sourced by the scripts. Starts a private Xvfb display when none is set and
# stops it when the calling script exits.

orv_ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local number
    for number in $(seq 90 120); do
        if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
            break
        fi
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ORV_XVFB_PID=$!
    local tries=0
    while [ ! -e "/tmp/.X11-unix/X$number" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$ORV_XVFB_PID" 2>/dev/null; then
            echo "could not start Xvfb on :$number" >&2
            return 1
        fi
        sleep 0.1
    done
    export DISPLAY=":$number"
    trap orv_stop_display EXIT
}

orv_stop_display() {
    if [ -n "${ORV_XVFB_PID:-}" ]; then
        kill "$ORV_XVFB_PID" 2>/dev/null || true
        wait "$ORV_XVFB_PID" 2>/dev/null || true
        ORV_XVFB_PID=
    fi
}
