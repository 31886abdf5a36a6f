#!/usr/bin/env bash
# Where the Windows program's console output goes, under Wine on an Xvfb display:
#   windows_console_test.sh VORANDEL.EXE
# Started as from the Start menu or Explorer, it must show its own window and no console window;
# started by a parent with a console, its empty lines must reach that console, or the pipe the
# parent hands it as standard output (with \r\n), and Escape must end it with status 0. The cases
# are in windows_console_cases.txt; console_parent.c is the parent, cross-built here.
# Runs in the Wine prefix WINEPREFIX names, or else in one of its own.
set -u
exe=$(realpath "${1:?usage: windows_console_test.sh VORANDEL.EXE}")
root=$(cd "$(dirname "$0")/../.." && pwd)
VORANDEL=$(command -v wine)
export VORANDEL
source "$root/tests/app/e2e_lib.sh"
source "$root/scripts/windows_env.sh"
TESTS=$root/tests/package
own_prefix=""
cleanup() {
    if [ -n "$own_prefix" ]; then wine_stop; else wine_server_stop; fi
    e2e_cleanup
}
trap cleanup EXIT
if [ -z "${WINEPREFIX:-}" ]; then
    own_prefix=1
    wine_start >/dev/null || fail "could not make a Wine prefix"
fi

x86_64-w64-mingw32-objdump -p "$exe" | grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' ||
    fail "$exe is not built for the Windows GUI subsystem (objdump -p)"
x86_64-w64-mingw32-gcc-posix -std=c11 -Wall -Wextra -Wpedantic -Werror -O2 -static \
    -o "$WORK/console_parent.exe" "$TESTS/console_parent.c" || fail "cannot build console_parent"
program=$(winepath -w "$exe")

# The names of the visible windows on the display that have one, one a line, sorted.
window_names() {
    xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do
        xdotool getwindowname "$w"
    done | LC_ALL=C sort
}

start_display
cases=0
while read -r name expected; do
    case $name in "#"* | "") continue ;; esac
    if [ "$name" = explorer ]; then
        start_program start /wait /unix "$exe"
    else
        start_program "$WORK/console_parent.exe" "$name" "$program"
    fi
    # A console window, if there is one, opens before the program's own.
    sleep 1
    for key in a b; do
        xdotool key "$key"
        sleep 0.3
    done
    sleep 1
    names=$(window_names)
    escape_ends_with_zero 30
    if [ "$name" = explorer ]; then
        [ "$names" = "$expected" ] || fail "$name: the visible windows are: ${names//$'\n'/; }"
        got="windows: $names"
    else
        got=$(tr -d '\r' <"$WORK/stdout")
        for pair in $expected; do
            grep -qw -- "$pair" <<<"$got" || fail "$name: wanted $pair, the parent reports: $got"
        done
    fi
    echo "PASS: $name: $got"
    cases=$((cases + 1))
    wine_server_stop
done <"$TESTS/windows_console_cases.txt"
listed=$(grep -cv '^#' "$TESTS/windows_console_cases.txt")
[ "$cases" -eq "$listed" ] || fail "ran $cases of the $listed cases"
