#!/usr/bin/env bash
# The Windows program, as shipped, under Wine on an Xvfb display:
#   windows_test.sh ZIP SETUP
# First the program in the zip: self-contained (it imports only system DLLs), stripped, with its
# icon and version, built to hand the C library's exit to GLUT. Then each case of
# windows_files.txt: the zip unpacked alone into an empty folder, and the installer run silently;
# each must put exactly its listed files in place, and the program there must pass the window
# check: the exact title, 720 by 576, a letter puts green
# pixels at the spot the generator gives for that second and writes two lines (\r\n, as Windows
# writes text), Backspace leaves the window black, Escape ends it with status 0. Last, the
# uninstaller removes everything the installer put in place.
# Runs in the Wine prefix WINEPREFIX names, or else in one of its own.
set -u
zip=$(realpath "${1:?usage: windows_test.sh ZIP SETUP}")
setup=$(realpath "${2:?usage: windows_test.sh ZIP SETUP}")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/package/wine_lib.sh"
LINE_END=crlf
source "$root/tests/package/e2e_checks.sh"
drive_c=$WINEPREFIX/drive_c
version=$(sed -n 's/^project(Vorandel VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
objdump=x86_64-w64-mingw32-objdump

# The listed paths of case $1.
case_files() { awk -v c="$1" '$1 == c { sub(/^[^ ]+ +/, ""); print }' "$TESTS/windows_files.txt"; }

# --- The program in the zip, before it runs.
mkdir "$WORK/zip"
(cd "$WORK/zip" && timeout 60 cmake -E tar xf "$zip") || fail "cannot unpack $zip"
exe=$WORK/zip/vorandel.exe
imports=$($objdump -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort)
[ -n "$imports" ] || fail "objdump lists no DLL imports"
allowed=$(grep -v '^#' "$TESTS/windows_system_dlls.txt")
others=$(comm -23 <(printf '%s\n' "$imports") <(printf '%s\n' "$allowed" | sort))
[ -z "$others" ] || fail "vorandel.exe imports DLLs that are not the system's: $others"
file -b "$exe" | grep -q '^PE32+ executable (GUI) x86-64 (stripped' ||
    fail "vorandel.exe is $(file -b "$exe"), not a stripped 64-bit GUI program"
# Resource types 3, 14 and 16: the icon images, their group and the version.
for type in 03 0e 10; do
    $objdump -p "$exe" | grep -Eq "^[0-9a-f]+   Entry: ID: 0x0000$type," ||
        fail "vorandel.exe has no resource of type 0x$type (icon, group icon, version)"
done
strings -el "$exe" | grep -A1 -x FileVersion | grep -qx "$version" ||
    fail "the version resource does not say $version"
# freeglut's header routes the shell's glutInit and glutCreateWindow to the variants that hand the
# C library's exit to GLUT (seen in the objects the program was linked from, in build-windows).
app_library=${WINDOWS_BUILD:-$root/build-windows}/app/libvorandel_app.a
undefined=$(x86_64-w64-mingw32-nm -u "$app_library") || fail "cannot read $app_library"
for symbol in __glutInitWithExit __glutCreateWindowWithExit; do
    grep -qw "$symbol" <<<"$undefined" || fail "the shell does not call $symbol"
done
! grep -Eqw 'glutInit|glutCreateWindow' <<<"$undefined" ||
    fail "the shell calls glutInit or glutCreateWindow"
echo "vorandel.exe: $(stat -c %s "$exe") bytes, imports ${imports//$'\n'/ }," \
    "has its icon and version $version"

# The files of case $1 under folder $2: every listed one is there, and the program's folder holds
# only the listed ones.
check_files() {
    local folder missing
    folder=$(case_files "$1" | sed -n 's|/*vorandel\.exe$||p')
    missing=$(cd "$2" && case_files "$1" | while read -r f; do [ -e "$f" ] || echo "$f"; done)
    [ -z "$missing" ] || fail "$1: missing: $missing"
    diff -u <(case_files "$1" | sed -n "s|^$folder/*||p" | grep -v / | LC_ALL=C sort) \
        <(cd "$2/$folder" && find . ! -name . | sed 's|^\./||' | LC_ALL=C sort) >&2 ||
        fail "$1: the program's folder holds other files than windows_files.txt lists"
}

# The window check (e2e_checks.sh) on the program at $1 (a Unix path), started from another
# folder; the wineserver is stopped after the program has ended.
window_check() {
    check_program_window "$1"
    wine_server_stop
}

start_display

# --- Case zip: unpacked alone into an empty folder.
check_files zip "$WORK/zip"
window_check "$exe"
echo "PASS: zip: $(case_files zip | wc -l) files"

# --- Case setup: installed silently, then uninstalled silently.
timeout 120 wine "$setup" /S || fail "the installer failed"
wine_server_stop
check_files setup "$drive_c"
installed=$drive_c/Program\ Files/Vorandel
shortcut=$drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Vorandel.lnk
# The shortcut's target (its link information, in ANSI) and its icon (in UTF-16) are the program.
strings "$shortcut" | grep -qxF 'C:\Program Files\Vorandel\vorandel.exe' ||
    fail "the shortcut does not start C:\\Program Files\\Vorandel\\vorandel.exe"
strings -el "$shortcut" | grep -qF 'C:\Program Files\Vorandel\vorandel.exe' ||
    fail "the shortcut's icon is not the program's"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorandel'
registry=$(timeout 60 wine reg query "$key" | tr -d '\r')
for value in "DisplayName REG_SZ Vorandel" "DisplayVersion REG_SZ $version" \
    'UninstallString REG_SZ "C:\Program Files\Vorandel\uninstall.exe"'; do
    grep -qF "$value" <<<"$(sed 's/  */ /g; s/^ //' <<<"$registry")" ||
        fail "Add/Remove Programs lacks '$value'"
done
wine_server_stop
window_check "$installed/vorandel.exe"

timeout 120 wine "$installed/uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself; the wineserver ends after the last program.
wine_server_stop
left=$(cd "$drive_c" && case_files setup | while read -r f; do [ ! -e "$f" ] || echo "$f"; done)
[ -z "$left" ] || fail "the uninstaller left $left"
[ ! -e "$installed" ] || fail "the uninstaller left the folder Program Files/Vorandel"
! timeout 60 wine reg query "$key" >/dev/null 2>&1 ||
    fail "the uninstaller left its Add/Remove Programs entry"
wine_server_stop
echo "PASS: setup: $(case_files setup | wc -l) files, shortcut, Add/Remove Programs entry," \
    "window; uninstalled"
