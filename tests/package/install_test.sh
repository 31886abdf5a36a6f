#!/usr/bin/env bash
# Configures and builds the program in a temporary folder for the prefix /usr, installs it with
# DESTDIR into another, and checks what lands there: the file list, the menu entry, metadata and
# manual page under their validators, the icon sizes. Then remakes the icon with make-icons and
# checks that the committed icon is what the shape routines draw today.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$root/tests/package/checks.sh"

build=$WORK/build
cmake -S "$root" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DVORANDEL_BENCH=OFF \
    >/dev/null || fail "configure"
cmake --build "$build" -j2 >/dev/null || fail "build"
DESTDIR=$WORK/root cmake --install "$build" >/dev/null || fail "cmake --install"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

check_file_list "$WORK/root" "$PACKAGE_TESTS/install_files.txt"
[ -x "$WORK/root/usr/bin/vorandel" ] || fail "the program is not executable"
check_desktop_files "$WORK/root" /usr/bin/vorandel "$version"
check_icons "$WORK/root"

"$root/packaging/icon/make-icons" "$build" "$WORK/icons" >/dev/null || fail "make-icons"
cmp "$WORK/icons/$APP_ID.svg" "$root/packaging/icon/$APP_ID.svg" ||
    fail "the committed icon differs from the one make-icons draws; run packaging/icon/make-icons"
grep -c '<polygon' "$WORK/icons/$APP_ID.svg" | grep -qx 10 ||
    fail "the icon does not hold the 10 primitives of its 4 sprites"
echo "PASS: install of version $version into DESTDIR, $(wc -l <"$PACKAGE_TESTS/install_files.txt") files"
