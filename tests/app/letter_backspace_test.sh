#!/usr/bin/env bash
# A letter puts a green figure in the black window; Backspace takes it back and the window is
# black again; each letter wrote two empty lines; Escape ends the program with status 0.
source "$(dirname "$0")/e2e_lib.sh"
start_display
start_program

snapshot start
[ "$(lit_pixels start)" -eq 0 ] || fail "the window is not black before any key"

# The colours drift away from green within about a hundred frames, so look right after the key,
# several times, and press the letter again if the moment was missed.
presses=0
green=0
for attempt in 1 2 3 4 5; do
    xdotool key e
    presses=$((presses + 1))
    for shot in 1 2 3 4 5 6 7 8; do
        xwd -id "$WID" -silent >"$WORK/raw_${attempt}_$shot.xwd"
    done
    for shot in 1 2 3 4 5 6 7 8; do
        $CONVERT "xwd:$WORK/raw_${attempt}_$shot.xwd" "$WORK/letter.png"
        green=$(green_pixels letter)
        [ "$green" -gt 0 ] && break 2
    done
done
[ "$green" -gt 0 ] || fail "no green pixels after $presses presses of e"
echo "green pixels: $green after $presses press(es)"

wait_output_bytes $((2 * presses))
[ "$(output_bytes)" -eq $((2 * presses)) ] || fail "expected $((2 * presses)) bytes of output"
[ "$(output_newlines)" -eq $((2 * presses)) ] || fail "the output is not only newlines"

for _ in $(seq "$presses"); do
    xdotool key BackSpace
done
lit=1
for _ in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.2
    snapshot after
    lit=$(lit_pixels after)
    [ "$lit" -eq 0 ] && break
done
[ "$lit" -eq 0 ] || fail "$lit pixels still lit after Backspace"
[ "$(output_bytes)" -eq $((2 * presses)) ] || fail "Backspace wrote output"

escape_ends_with_zero
echo PASS
