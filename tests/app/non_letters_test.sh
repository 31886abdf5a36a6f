#!/usr/bin/env bash
# Digits, spaces and punctuation spawn nothing and write nothing; a letter afterwards still does.
source "$(dirname "$0")/e2e_lib.sh"
start_display
start_program

xdotool key --delay 20 1 2 3 space 4 5 6 7 8 9 0 space space period comma apostrophe Return Tab \
    minus slash
sleep 0.5
for shot in 1 2 3; do
    snapshot quiet
    [ "$(lit_pixels quiet)" -eq 0 ] || fail "a non-letter key drew something"
    sleep 0.1
done
[ "$(output_bytes)" -eq 0 ] || fail "a non-letter key wrote to standard output"

# The keys did reach the program: a letter now spawns its pair.
letter_spawns b "the letter after the other keys spawned nothing"

escape_ends_with_zero
echo PASS
