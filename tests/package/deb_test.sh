#!/usr/bin/env bash
# Checks the Debian package $1 (vorandel_<version>_<arch>.deb, for any architecture of
# deb_arches.txt) without installing it: lintian finds no error, the control fields are right
# (the architecture is the file name's and the program's, Depends names the GLUT, GL and GLU
# libraries), the unpacked files are the expected ones and pass their validators. Then the
# unpacked program runs on an Xvfb display, under user-mode emulation (qemu-user, with the
# libraries of its architecture installed through multiarch) when it is built for another
# architecture than this machine's: it passes the window check of e2e_checks.sh; and started
# through its menu entry (by gio, as a desktop would), it writes nothing to the output the
# desktop would log.
set -u
deb=${1:?usage: deb_test.sh PACKAGE.deb}
root=$(cd "$(dirname "$0")/../.." && pwd)
unpacked=$(mktemp -d)
program=$unpacked/usr/games/vorandel
arch=$(basename "$deb" .deb)
arch=${arch##*_}
# The emulator and the machine name of $arch; the program runs itself on its own architecture.
read -r emulator machine < <(awk -v a="$arch" '$1 == a { $1 = ""; print }' \
    "$(dirname "$0")/deb_arches.txt")
if [ -z "${machine:-}" ]; then
    echo "FAIL: no architecture '$arch' (from the name $(basename "$deb")) in deb_arches.txt" >&2
    exit 1
fi
if [ "$arch" = "$(dpkg --print-architecture)" ]; then
    launch=()
    VORANDEL=$program
else
    # The emulated program finds its dynamic loader and libraries under / (multiarch).
    launch=("$program")
    VORANDEL=$(command -v "$emulator") || { echo "FAIL: $emulator is not installed" >&2; exit 1; }
    export QEMU_LD_PREFIX=/
    WARM_UP=1
fi
export VORANDEL
source "$root/tests/app/e2e_lib.sh"
source "$root/tests/package/checks.sh"
source "$root/tests/package/e2e_checks.sh"
trap 'e2e_cleanup; rm -rf "$unpacked"' EXIT

# lintian exits non-zero on errors; its warnings and notes are printed for the record.
lintian --fail-on error --info "$deb" || fail "lintian reports errors"

field() { dpkg-deb --field "$deb" "$1"; }
version=$(sed -n 's/^project(Vorandel VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
[ "$(field Package)" = vorandel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not $arch"
depends=$(field Depends)
for library in 'libglut[0-9.]*' 'libopengl0|libgl1' 'libglu1'; do
    grep -Eq "(^|, |\| )($library)( |,|$)" <<<"$depends" || fail "Depends ($depends) names no $library"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "the description has no long part"

dpkg-deb -x "$deb" "$unpacked" || fail "dpkg-deb -x"
check_file_list "$unpacked" "$PACKAGE_TESTS/deb_files.txt"
check_desktop_files "$unpacked" /usr/games/vorandel "$version"
check_icons "$unpacked"
file -b "$program" | grep -q "^ELF 64-bit LSB pie executable, $machine," ||
    fail "the program is $(file -b "$program"), not a $machine executable"
file -b "$program" | grep -q ', stripped' || fail "the program is not stripped"

start_display
check_program_window "${launch[@]}"

# The menu entry, with the program's path moved to where it was unpacked (and its command line
# started by the emulator, if any). gio's output is what a desktop session would log; gio leaves
# the program running on its own, so it is found by its exact path on its command line to be
# stopped by process id.
runner=""
[ ${#launch[@]} -eq 0 ] || runner="$VORANDEL "
sed -e "/^Exec=/s|/usr/games/vorandel|$runner$program|" -e "/^Exec=/!s|/usr/games/vorandel|$program|g" \
    "$unpacked/usr/share/applications/$APP_ID.desktop" >"$WORK/$APP_ID.desktop"
gio launch "$WORK/$APP_ID.desktop" >"$WORK/launched.out" 2>"$WORK/launched.err" || fail "gio launch"
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vorandel program$' | head -n1)
[ -n "$WID" ] || fail "the menu entry did not open the window"
for proc in /proc/[0-9]*; do
    tr '\0' '\n' 2>/dev/null <"$proc/cmdline" | grep -qxF "$program" && LAUNCHED_PID=${proc#/proc/}
done
[ -n "${LAUNCHED_PID:-}" ] || fail "no process runs $program"
trap 'kill "$LAUNCHED_PID" 2>/dev/null; e2e_cleanup; rm -rf "$unpacked"' EXIT
xdotool windowfocus --sync "$WID" 2>/dev/null || true
xdotool mousemove --window "$WID" 360 288
sleep 0.3
xdotool key e
# Under emulation the first figure drawn waits for the renderer's shaders (see e2e_checks.sh).
wait_lit launched "$([ "$WARM_UP" = 1 ] && echo 150 || echo 20)" 0.1 ||
    fail "the letter did not reach the program started from the menu"
[ ! -s "$WORK/launched.out" ] || fail "started from the menu, the program still writes to the log"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 "$LAUNCHED_PID" 2>/dev/null || break
    sleep 0.1
done
! kill -0 "$LAUNCHED_PID" 2>/dev/null || fail "the program started from the menu did not end on Escape"
echo "PASS: $(basename "$deb"): control fields, $(wc -l <"$PACKAGE_TESTS/deb_files.txt") files," \
    "window${launch[0]:+ (under $(basename "$VORANDEL"))}, menu entry"
