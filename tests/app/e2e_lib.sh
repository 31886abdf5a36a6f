#!/usr/bin/env bash
# Helpers for the end-to-end tests: each test sources this, starts an Xvfb display of its own,
# runs the built program ($VORANDEL) on it, drives it with xdotool and looks at the window with
# xwd and ImageMagick. Everything started here is stopped by process id when the script ends.
set -u

: "${VORANDEL:?VORANDEL must name the built program}"
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d)
XVFB_PID=""
PROG_PID=""
WID=""
CONVERT=convert-im6.q16

# In a sanitizer build the leak check belongs to leak_test.sh alone; the other tests judge the
# program's own exit status, which the GL driver's blocks left at exit would otherwise change.
if [ -z "${E2E_CHECK_LEAKS:-}" ]; then
    export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
fi

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK/stderr" ]; then
        echo "--- program stderr:" >&2
        head -c 4000 "$WORK/stderr" >&2
    fi
    exit 1
}

e2e_cleanup() {
    if [ -n "$PROG_PID" ] && kill -0 "$PROG_PID" 2>/dev/null; then
        kill "$PROG_PID" 2>/dev/null
        wait "$PROG_PID" 2>/dev/null
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap e2e_cleanup EXIT

# Starts Xvfb on a free display number (it picks one and reports it through -displayfd).
start_display() {
    local fdfile="$WORK/display"
    Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 200); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    local number
    number=$(head -n1 "$fdfile")
    [ -n "$number" ] || fail "Xvfb did not start"
    export DISPLAY=":$number"
}

# Runs the program with its standard output in $WORK/stdout, waits for its window, gives the
# window the keyboard focus and puts the pointer in its middle (focus follows the pointer).
start_program() {
    "$VORANDEL" "$@" >"$WORK/stdout" 2>"$WORK/stderr" &
    PROG_PID=$!
    WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vorandel program$' | head -n1)
    [ -n "$WID" ] || fail "the window did not appear"
    xdotool windowfocus --sync "$WID" 2>/dev/null || true
    xdotool mousemove --window "$WID" 360 288
    sleep 0.3
}

# Saves the window's picture as $WORK/$1.png.
snapshot() {
    xwd -id "$WID" -silent | $CONVERT xwd:- "$WORK/$1.png"
}

# Pixels of the last snapshot with a strong green component (green at least half on).
green_pixels() {
    $CONVERT "$WORK/$1.png" -alpha off -channel G -separate +channel -threshold 50% \
        -format '%[fx:round(mean*w*h)]' info:
}

# Pixels of the snapshot that are not black (any channel above 5%).
lit_pixels() {
    $CONVERT "$WORK/$1.png" -alpha off -separate -evaluate-sequence max -threshold 5% \
        -format '%[fx:round(mean*w*h)]' info:
}

# Takes snapshot $1 up to $2 times, $3 seconds apart, until something in it is lit; fails (status
# 1) if nothing ever is.
wait_lit() {
    local _
    for _ in $(seq "$2"); do
        snapshot "$1"
        [ "$(lit_pixels "$1")" -gt 0 ] && return 0
        sleep "$3"
    done
    return 1
}

# Bytes the program has written to standard output so far, and how many of them are newlines.
output_bytes() { wc -c <"$WORK/stdout"; }
output_newlines() { tr -cd '\n' <"$WORK/stdout" | wc -c; }

# Waits until standard output holds $1 lines (up to $2 seconds, default 10).
wait_output_lines() {
    local want=$1 deadline=$((SECONDS + ${2:-10}))
    while [ "$(output_newlines)" -lt "$want" ] && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.05
    done
}

# Waits until standard output holds $1 bytes (up to $2 seconds, default 10).
wait_output_bytes() {
    local want=$1 deadline=$((SECONDS + ${2:-10}))
    while [ "$(output_bytes)" -lt "$want" ] && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.05
    done
}

# Presses letter $1 and checks that its pair is spawned (two more newlines); fails with $2.
letter_spawns() {
    local want=$(($(output_bytes) + 2))
    xdotool key "$1"
    wait_output_bytes "$want"
    [ "$(output_bytes)" -eq "$want" ] || fail "$2"
}

# Presses letter $1 until a screenshot shows green pixels: the colours drift away from green
# within about a hundred frames, so it takes eight quick screenshots right after each press and
# presses again if the moment was missed, five times at most. Sets GREEN to the count of green
# pixels and PRESSES to the presses made, and PRESS_SECOND to the second of the clock in which
# the last press was made (empty if the clock passed into the next one during the press); fails
# when none showed green.
press_until_green() {
    GREEN=0
    PRESSES=0
    local shot before
    while [ "$PRESSES" -lt 5 ]; do
        before=$(date +%s)
        xdotool key "$1"
        PRESS_SECOND=$(date +%s)
        [ "$PRESS_SECOND" = "$before" ] || PRESS_SECOND=""
        PRESSES=$((PRESSES + 1))
        for shot in 1 2 3 4 5 6 7 8; do
            xwd -id "$WID" -silent >"$WORK/raw_$shot.xwd"
        done
        for shot in 1 2 3 4 5 6 7 8; do
            $CONVERT "xwd:$WORK/raw_$shot.xwd" "$WORK/letter.png"
            GREEN=$(green_pixels letter)
            [ "$GREEN" -gt 0 ] && return 0
        done
    done
    fail "no green pixels after $PRESSES presses of $1"
}

# Presses Backspace $1 times and waits up to two seconds for the window to turn black; fails with
# the count of pixels still lit if it does not.
backspace_until_black() {
    local lit=1 _
    for _ in $(seq "$1"); do xdotool key BackSpace; done
    for _ in $(seq 10); do
        sleep 0.2
        snapshot after
        lit=$(lit_pixels after)
        [ "$lit" -eq 0 ] && return 0
    done
    fail "$lit pixels still lit after Backspace"
}

# Waits until the clock is early in a second (within its first 0.3 s), so that a key pressed now
# is handled within the same second.
wait_early_in_second() {
    while [ "$(date +%N | cut -c1)" -ge 3 ]; do
        sleep 0.02
    done
}

# Where a letter pressed in second $1 of the clock spawns its pair, in window pixels from the top
# left, as SPOT_X and SPOT_Y: the generator (state * 214013 + 2531011 mod 2^32, each draw bits 16
# to 30) is seeded with the seconds cut to 32 bits; of three draws the second gives x (times
# 720/32767) and the third y (times 576/32767, counted upwards).
spawn_spot() {
    local state=$(($1 & 0xFFFFFFFF)) draws=() _
    for _ in 1 2 3; do
        state=$(((state * 214013 + 2531011) & 0xFFFFFFFF))
        draws+=($(((state >> 16) & 0x7FFF)))
    done
    SPOT_X=$((draws[1] * 720 / 32767))
    SPOT_Y=$((576 - (draws[2] * 576 + 32766) / 32767))
    [ "$SPOT_X" -le 719 ] || SPOT_X=719
    [ "$SPOT_Y" -le 575 ] || SPOT_Y=575
}

# Whether the 5 by 5 pixels around ($2, $3) of snapshot $1 are all strongly green (green at least
# half on and above blue). Prints 1 or 0.
green_around() {
    local x=$(($2 < 2 ? 0 : $2 > 717 ? 715 : $2 - 2)) y=$(($3 < 2 ? 0 : $3 > 573 ? 571 : $3 - 2))
    $CONVERT "$WORK/$1.png" -alpha off -crop "5x5+$x+$y" +repage -fx 'g >= 0.5 && g > b' \
        -format '%[fx:minima]' info:
}

# Waits up to $1 seconds for the program to end; sets PROG_STATUS to its exit status, or to
# "running" if it has not ended. (Not in a subshell: only this shell can wait for its child.)
PROG_STATUS=""
wait_program() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$PROG_PID" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.05
    done
    if kill -0 "$PROG_PID" 2>/dev/null; then
        PROG_STATUS=running
        return
    fi
    PROG_STATUS=0
    wait "$PROG_PID" || PROG_STATUS=$?
    PROG_PID=""
}

# Presses Escape and checks that the program ends with status 0 within $1 seconds (default 20).
escape_ends_with_zero() {
    xdotool key Escape 2>/dev/null || true
    wait_program "${1:-20}"
    [ "$PROG_STATUS" = 0 ] || fail "after Escape the program's status is $PROG_STATUS, not 0"
}

# The resident set size of the program in kB.
program_rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$PROG_PID/status"; }
