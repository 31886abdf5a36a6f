#!/usr/bin/env bash
# A key held down repeats: every repeat spawns a pair. Afterwards the program still answers keys
# at once and Escape ends it with status 0.
source "$(dirname "$0")/e2e_lib.sh"
start_display
start_program

xdotool keydown f
sleep 2
xdotool keyup f
sleep 0.5
held=$(output_newlines)
[ $((held % 2)) -eq 0 ] || fail "odd number of newlines ($held)"
# The first press and at least two repeats (the server repeats after 660 ms, 25 times a second).
[ "$held" -ge 6 ] || fail "holding the key spawned only $((held / 2)) pair(s)"
[ "$(output_bytes)" -eq "$held" ] || fail "the output is not only newlines"

xdotool key g
wait_output_bytes $((held + 2)) 5
[ "$(output_bytes)" -eq $((held + 2)) ] || fail "no answer to a key after the held one"

escape_ends_with_zero 10
echo "PASS ($((held / 2)) pairs while held)"
