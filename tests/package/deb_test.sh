#!/usr/bin/env bash
# Checks the Debian package $1 without installing it: lintian finds no error, the control fields
# are right (Depends names the GLUT, GL and GLU libraries), the unpacked files are the expected
# ones and pass their validators. Then the unpacked program runs on an Xvfb display: its window
# has the exact title and size, a letter spawns green figures, Escape ends it with status 0; and
# started through its menu entry (by gio, as a desktop would), it writes nothing to the output
# the desktop would log.
set -u
deb=${1:?usage: deb_test.sh PACKAGE.deb}
root=$(cd "$(dirname "$0")/../.." && pwd)
unpacked=$(mktemp -d)
export VORANDEL=$unpacked/usr/games/vorandel
source "$root/tests/app/e2e_lib.sh"
source "$root/tests/package/checks.sh"
trap 'e2e_cleanup; rm -rf "$unpacked"' EXIT

# lintian exits non-zero on errors; its warnings and notes are printed for the record.
lintian --fail-on error --info "$deb" || fail "lintian reports errors"

field() { dpkg-deb --field "$deb" "$1"; }
version=$(sed -n 's/^project(Vorandel VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
[ "$(field Package)" = vorandel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
for library in 'libglut[0-9.]*' 'libopengl0|libgl1' 'libglu1'; do
    grep -Eq "(^|, |\| )($library)( |,|$)" <<<"$depends" || fail "Depends ($depends) names no $library"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "the description has no long part"

dpkg-deb -x "$deb" "$unpacked" || fail "dpkg-deb -x"
check_file_list "$unpacked" "$PACKAGE_TESTS/deb_files.txt"
check_desktop_files "$unpacked" /usr/games/vorandel "$version"
check_icons "$unpacked"
file -b "$VORANDEL" | grep -q ', stripped' || fail "the program is not stripped"

start_display
start_program
[ "$(xdotool getwindowname "$WID")" = "Vorandel program" ] || fail "title is '$(xdotool getwindowname "$WID")'"
eval "$(xdotool getwindowgeometry --shell "$WID")"
if [ "$WIDTH" != 720 ] || [ "$HEIGHT" != 576 ]; then fail "window is ${WIDTH}x$HEIGHT, not 720x576"; fi

# The circle of e is centred on its random spot, so part of it is always inside the window.
# Each press writes two lines.
press_until_green e
wait_output_bytes "$((2 * PRESSES))"
[ "$(output_bytes)" -eq $((2 * PRESSES)) ] || fail "$PRESSES presses of e did not write two lines each"
escape_ends_with_zero

# The menu entry, with the program's path moved to where it was unpacked. gio's output is what a
# desktop session would log; gio leaves the program running on its own, so it is found by its
# exact path to be stopped by process id.
sed "s|/usr/games/vorandel|$VORANDEL|g" "$unpacked/usr/share/applications/$APP_ID.desktop" \
    >"$WORK/$APP_ID.desktop"
gio launch "$WORK/$APP_ID.desktop" >"$WORK/launched.out" 2>"$WORK/launched.err" || fail "gio launch"
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vorandel program$' | head -n1)
[ -n "$WID" ] || fail "the menu entry did not open the window"
for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/exe" 2>/dev/null)" = "$VORANDEL" ] && LAUNCHED_PID=${proc#/proc/}
done
[ -n "${LAUNCHED_PID:-}" ] || fail "no process runs $VORANDEL"
trap 'kill "$LAUNCHED_PID" 2>/dev/null; e2e_cleanup; rm -rf "$unpacked"' EXIT
xdotool windowfocus --sync "$WID" 2>/dev/null || true
xdotool mousemove --window "$WID" 360 288
sleep 0.3
xdotool key e
lit=0
for _ in $(seq 20); do
    snapshot launched
    lit=$(lit_pixels launched)
    [ "$lit" -gt 0 ] && break
    sleep 0.1
done
[ "$lit" -gt 0 ] || fail "the letter did not reach the program started from the menu"
[ ! -s "$WORK/launched.out" ] || fail "started from the menu, the program still writes to the log"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 "$LAUNCHED_PID" 2>/dev/null || break
    sleep 0.1
done
! kill -0 "$LAUNCHED_PID" 2>/dev/null || fail "the program started from the menu did not end on Escape"
echo "PASS: $(basename "$deb"): control fields, $(wc -l <"$PACKAGE_TESTS/deb_files.txt") files, window, $GREEN green pixels, menu entry"
