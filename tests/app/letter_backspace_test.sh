#!/usr/bin/env bash
# A letter puts a green figure in the black window; Backspace takes it back and the window is
# black again; each letter wrote two empty lines; Escape ends the program with status 0.
source "$(dirname "$0")/e2e_lib.sh"
start_display
start_program

snapshot start
[ "$(lit_pixels start)" -eq 0 ] || fail "the window is not black before any key"

press_until_green e
presses=$PRESSES
echo "green pixels: $GREEN after $presses press(es)"

wait_output_bytes $((2 * presses))
[ "$(output_bytes)" -eq $((2 * presses)) ] || fail "expected $((2 * presses)) bytes of output"
[ "$(output_newlines)" -eq $((2 * presses)) ] || fail "the output is not only newlines"

backspace_until_black "$presses"
[ "$(output_bytes)" -eq $((2 * presses)) ] || fail "Backspace wrote output"

escape_ends_with_zero
echo PASS
