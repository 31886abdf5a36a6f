#!/usr/bin/env bash
# Standard output holds exactly two newlines per letter typed, and nothing else.
source "$(dirname "$0")/e2e_lib.sh"
start_display
start_program

phrase='Hello, World of Shapes 42'
letters=$(printf '%s' "$phrase" | tr -cd 'A-Za-z' | wc -c)
xdotool type --delay 40 "$phrase"
wait_output_bytes $((2 * letters))
sleep 0.5
[ "$(output_bytes)" -eq $((2 * letters)) ] ||
    fail "expected $((2 * letters)) bytes for $letters letters, got $(output_bytes)"
[ "$(output_newlines)" -eq $((2 * letters)) ] || fail "the output is not only newlines"

escape_ends_with_zero
[ "$(output_bytes)" -eq $((2 * letters)) ] || fail "Escape wrote to standard output"
echo "PASS ($letters letters, $((2 * letters)) newlines)"
