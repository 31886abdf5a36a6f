#!/usr/bin/env bash
# Starts the program on a display of its own and checks the window: its exact title and size,
# an all-black picture, and that it keeps drawing frames while nothing happens.
source "$(dirname "$0")/e2e_lib.sh"

start_display
start_program

name=$(xdotool getwindowname "$WID")
[ "$name" = "Vorandel program" ] || fail "title is '$name'"
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" = 720 ] && [ "$HEIGHT" = 576 ] || fail "window is ${WIDTH}x${HEIGHT}, not 720x576"

snapshot field
size=$($CONVERT "$WORK/field.png" -format '%wx%h' info:)
[ "$size" = 720x576 ] || fail "screenshot is $size"
[ "$($CONVERT "$WORK/field.png" -format '%[fx:maxima]' info:)" = 0 ] || fail "the field is not all black"

# Frames follow back to back through the idle callback, so the process uses CPU while idle.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$PROG_PID/stat"; }
before=$(cpu_ticks)
sleep 1
after=$(cpu_ticks)
[ $((after - before)) -ge $(($(getconf CLK_TCK) / 5)) ] ||
    fail "only $((after - before)) CPU ticks in one idle second: frames are not being drawn"

kill -0 "$PROG_PID" 2>/dev/null || fail "the program ended on its own"
[ "$(output_bytes)" = 0 ] || fail "unexpected output on stdout"
echo "PASS: window 720x576, black, drawing ($((after - before)) CPU ticks in 1 s)"
