#!/usr/bin/env bash
# Soak run: for DURATION seconds (first argument, default 10, at most 120) sends the window random
# keys in batches, bursts of Backspace and clicks of every button, then checks that the program
# is alive, that its resident memory stayed within a bound, and that Escape still ends it with
# status 0. Optional second argument: the allowed growth of resident memory in MB (default 200).
source "$(dirname "$0")/e2e_lib.sh"
duration=${1:-10}
growth_mb=${2:-200}
[[ "$duration" =~ ^[0-9]+$ ]] || fail "duration must be whole seconds"
[ "$duration" -le 120 ] || duration=120

start_display
start_program
sleep 0.5
baseline=$(program_rss_kb)
peak=$baseline

keys=({a..z} {A..Z} {0..9} space comma period apostrophe Return Tab minus slash Delete
    semicolon bracketleft equal)
RANDOM=4242
sent=0
backspaces=0
clicks=0
end=$((SECONDS + duration))
while [ "$SECONDS" -lt "$end" ]; do
    batch=()
    for _ in $(seq 120); do
        batch+=("${keys[RANDOM % ${#keys[@]}]}")
    done
    xdotool key --delay 1 "${batch[@]}" || fail "xdotool could not send keys"
    sent=$((sent + ${#batch[@]}))

    burst=$((RANDOM % 40 + 1))
    xdotool key --delay 1 $(printf 'BackSpace %.0s' $(seq "$burst"))
    backspaces=$((backspaces + burst))

    for _ in 1 2 3; do
        # Inside the window only: keyboard focus follows the pointer here.
        xdotool mousemove --window "$WID" $((RANDOM % 700 + 10)) $((RANDOM % 556 + 10)) \
            click $((RANDOM % 5 + 1))
        clicks=$((clicks + 1))
    done
    xdotool mousemove --window "$WID" 360 288

    kill -0 "$PROG_PID" 2>/dev/null || fail "the program ended during the soak run"
    rss=$(program_rss_kb)
    [ "${rss:-0}" -gt "$peak" ] && peak=$rss
done
sleep 1
kill -0 "$PROG_PID" 2>/dev/null || fail "the program ended after the soak run"
rss=$(program_rss_kb)
[ "$rss" -gt "$peak" ] && peak=$rss

lines=$(output_newlines)
echo "sent $sent keys, $backspaces Backspaces, $clicks clicks in ${duration}s; $lines newlines"
echo "resident memory: start $((baseline / 1024)) MB, peak $((peak / 1024)) MB, end $((rss / 1024)) MB"
[ "$lines" -gt 0 ] || fail "no letter reached the program"
[ $((lines % 2)) -eq 0 ] || fail "odd number of newlines"
[ "$(output_bytes)" -eq "$lines" ] || fail "the output is not only newlines"
[ $((peak - baseline)) -le $((growth_mb * 1024)) ] ||
    fail "resident memory grew by $(((peak - baseline) / 1024)) MB (allowed $growth_mb MB)"

escape_ends_with_zero 30
echo PASS
