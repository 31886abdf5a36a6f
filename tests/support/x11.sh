# Shell helpers for tests against the real program on a display of their own. Source this file.
#   start_display          starts Xvfb on a free display, exports DISPLAY and XVFB_PID
#   stop_display           stops that server by its process id
#   find_window            prints the id of the "Vorandel program" window (waits up to 20 s)
#   screenshot ID FILE     saves the window's contents as FILE (any ImageMagick format)
#   max_channel FILE       prints the largest channel value (0..255) in a picture

start_display() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 200); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    local number
    number=$(head -n1 "$fdfile")
    rm -f "$fdfile"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$number" XVFB_PID
}

stop_display() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
}

find_window() {
    timeout 20 xdotool search --sync --name '^Vorandel program$' 2>/dev/null | head -n1
}

screenshot() {
    xwd -id "$1" -silent | convert-im6.q16 xwd:- "$2"
}

max_channel() {
    convert-im6.q16 "$1" -depth 8 -format '%[fx:int(255*maxima)]' info:
}
