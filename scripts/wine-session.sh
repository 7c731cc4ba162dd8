# Sourced by the scripts that run Windows programs: one X display and one
# persistent wineserver for the whole run, ended on exit.
# Expects WINEPREFIX to be set, and CQ_WINEARCH=win64 for a 64-bit prefix.
wine_session_start() {
    export WINEDEBUG=-all WINEARCH=${CQ_WINEARCH:-win32}
    if [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 90 140); do
            [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
        done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        CQ_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    fi
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 || true
    trap wine_session_end EXIT
}
wine_session_end() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${CQ_XVFB_PID:-}" ] && kill "$CQ_XVFB_PID" 2>/dev/null || true
}
