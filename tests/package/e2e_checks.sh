#!/usr/bin/env bash
# The window check every shipped build of the program passes, whatever starts it: the Debian
# package's program (natively, or under qemu-aarch64 for arm64) and the Windows program under
# Wine. Sourced after tests/app/e2e_lib.sh, on a display start_display has started, with
# $VORANDEL naming what starts the program (the program itself, qemu-aarch64 or wine).
#
# check_program_window ARGUMENTS...  starts "$VORANDEL" ARGUMENTS... and checks: the window has
# the exact title and is 720 by 576, black before any key; a letter pressed early in a second
# puts green pixels at the spot the generator gives for that second and writes two lines, empty
# and ended as $LINE_END says (lf, or crlf as Windows writes text); Backspace leaves the window
# black; Escape ends the program with status 0. Prints one line saying what it saw.
# With WARM_UP=1 (for a program under emulation), a letter is drawn and taken back first.
LINE_END=${LINE_END:-lf}
WARM_UP=${WARM_UP:-0}
# PRESSES, PRESS_SECOND, SPOT_X and SPOT_Y are set by the helpers of e2e_lib.sh.
# shellcheck disable=SC2153

check_program_window() {
    start_program "$@"
    [ "$(xdotool getwindowname "$WID")" = "Vorandel program" ] ||
        fail "title is '$(xdotool getwindowname "$WID")'"
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    [ "$WIDTH x $HEIGHT" = "720 x 576" ] || fail "window is ${WIDTH}x$HEIGHT, not 720x576"
    snapshot start
    [ "$(lit_pixels start)" -eq 0 ] || fail "the window is not black before any key"

    # Under emulation the first frame with figures in it can take a second or more: the
    # emulator translates the renderer's drawing code as it first runs (and llvmpipe compiles
    # its shaders). The figures' shapes change with the length of each frame, so after such a
    # frame they are stretched off their spot. With WARM_UP=1 a first letter is drawn and taken
    # back before the timed one; its two lines are counted.
    local presses=0 lines=0 returns
    if [ "$WARM_UP" = 1 ]; then
        xdotool key a
        wait_lit warm 150 0.2 || fail "the warm-up letter was not drawn within 30 seconds"
        backspace_until_black 1
        lines=2
    fi

    # A letter early in a second, until one press stays within its second and shows green.
    for _ in 1 2 3; do
        wait_early_in_second
        press_until_green e
        presses=$((presses + PRESSES))
        [ -n "$PRESS_SECOND" ] && break
    done
    [ -n "$PRESS_SECOND" ] || fail "no press of e stayed within one second of the clock"
    spawn_spot "$PRESS_SECOND"
    [ "$(green_around letter "$SPOT_X" "$SPOT_Y")" = 1 ] ||
        fail "no green at ($SPOT_X, $SPOT_Y), the spot of second $PRESS_SECOND"
    lines=$((lines + 2 * presses))
    wait_output_lines "$lines"
    [ "$(output_newlines)" -eq "$lines" ] ||
        fail "$((lines / 2)) presses wrote $(output_newlines) lines"
    [ -z "$(tr -d '\r\n' <"$WORK/stdout")" ] || fail "the output is not only empty lines"
    case $LINE_END in
    lf) returns=0 ;;
    crlf) returns=$lines ;;
    *) fail "LINE_END is '$LINE_END', not lf or crlf" ;;
    esac
    [ "$(tr -cd '\r' <"$WORK/stdout" | wc -c)" -eq "$returns" ] ||
        fail "the lines do not end in $LINE_END"

    backspace_until_black "$presses"
    escape_ends_with_zero 30
    echo "window: title, 720x576, green at ($SPOT_X, $SPOT_Y) after $presses press(es)," \
        "$lines lines in all ($LINE_END), black after Backspace, status 0"
}
