#!/usr/bin/env bash
# Where the Windows program's console output goes, under Wine on an Xvfb display:
#   windows_console_test.sh VORANDEL.EXE
# Each case of windows_console_cases.txt starts the program in one way, types two letters and
# Escape, and compares what followed. console_parent.c, the parent with a console, is built here.
# Runs in the Wine prefix WINEPREFIX names, or else in one of its own.
set -u
exe=$(realpath "${1:?usage: windows_console_test.sh VORANDEL.EXE}")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/package/wine_lib.sh"
x86_64-w64-mingw32-gcc-posix -std=c11 -Wall -Wextra -Wpedantic -Werror -O2 -static \
    -o "$WORK/console_parent.exe" "$TESTS/console_parent.c" || fail "cannot build console_parent"

start_display
cases=0
while read -r name expected; do
    case $name in "#"* | "") continue ;; esac
    if [ "$name" = explorer ]; then
        start_program start /wait /unix "$exe"
    else
        start_program "$WORK/console_parent.exe" "$name" "$(winepath -w "$exe")"
    fi
    sleep 1 # a console window, if one is made, opens before the program's own
    xdotool key --delay 300 a b
    sleep 1
    # The names of the visible windows that have one.
    names=$(xdotool search --onlyvisible --name . | while read -r w; do
        xdotool getwindowname "$w"
    done | LC_ALL=C sort)
    escape_ends_with_zero 30
    got=$(tr -d '\r' <"$WORK/stdout")
    if [ "$name" = explorer ]; then
        got=${names//$'\n'/; }
        [ "$got" = "$expected" ] || fail "$name: the visible windows are: $got"
    fi
    for pair in $expected; do
        [ "$name" = explorer ] || grep -qw -- "$pair" <<<"$got" ||
            fail "$name: wanted $pair, the parent reports: $got"
    done
    echo "PASS: $name: $got"
    cases=$((cases + 1))
    wine_server_stop
done <"$TESTS/windows_console_cases.txt"
[ "$cases" -eq "$(grep -cv '^#' "$TESTS/windows_console_cases.txt")" ] || fail "ran $cases cases"
