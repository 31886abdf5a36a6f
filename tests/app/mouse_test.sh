#!/usr/bin/env bash
# Clicks of every button inside the window are taken without output, the program keeps drawing
# and answering keys, and Escape ends it with status 0. (The triangle a left click shows lasts one
# frame; mouse_window_test checks it on a real window from inside.)
source "$(dirname "$0")/e2e_lib.sh"
start_display
start_program

for pos in "100 100" "600 400" "1 1" "360 288"; do
    set -- $pos
    xdotool mousemove --window "$WID" "$1" "$2" click 1 click 3 click 2
done
xdotool mousemove --window "$WID" 360 288 mousedown 1
sleep 0.2
xdotool mouseup 1
sleep 0.3
kill -0 "$PROG_PID" 2>/dev/null || fail "the program ended after the clicks"
[ "$(output_bytes)" -eq 0 ] || fail "a click wrote to standard output"
snapshot clicked
[ "$(lit_pixels clicked)" -eq 0 ] || fail "a click left something on the screen after a frame"

letter_spawns a "no answer to a letter after the clicks"

escape_ends_with_zero
echo PASS
