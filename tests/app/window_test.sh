#!/usr/bin/env bash
# Starts the program on a display of its own and checks the window: its exact title and size,
# an all-black picture, and that it keeps drawing frames while nothing happens.
set -u
source "$VORANDEL_SUPPORT/x11.sh"
workdir=$(mktemp -d)
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    stop_display
    rm -rf "$workdir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

start_display || exit 1
"$VORANDEL" >"$workdir/stdout" 2>"$workdir/stderr" &
app_pid=$!

window=$(find_window)
[ -n "$window" ] || fail "no window titled 'Vorandel program'"
name=$(xdotool getwindowname "$window")
[ "$name" = "Vorandel program" ] || fail "title is '$name'"

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 720 ] && [ "$HEIGHT" = 576 ] || fail "window is ${WIDTH}x${HEIGHT}, not 720x576"

sleep 0.5
screenshot "$window" "$workdir/shot.png" || fail "no screenshot"
size=$(convert-im6.q16 "$workdir/shot.png" -format '%wx%h' info:)
[ "$size" = 720x576 ] || fail "screenshot is $size"
[ "$(max_channel "$workdir/shot.png")" = 0 ] || fail "the field is not all black"

# Frames follow back to back through the idle callback, so the process uses CPU while idle.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
before=$(cpu_ticks)
sleep 1
after=$(cpu_ticks)
ticks_per_second=$(getconf CLK_TCK)
[ $((after - before)) -ge $((ticks_per_second / 5)) ] ||
    fail "only $((after - before)) CPU ticks in one idle second: frames are not being drawn"

kill -0 "$app_pid" 2>/dev/null || fail "the program ended on its own"
[ -s "$workdir/stdout" ] && fail "unexpected output: $(head -c 200 "$workdir/stdout")"
echo "PASS: window 720x576, black, drawing ($((after - before)) ticks of CPU in 1 s)"
