#!/usr/bin/env bash
# Checks shared by the install and package tests. Each takes the root of an installed tree
# ($1, holding usr/) and fails through fail(), which the sourcing script defines.

APP_ID=io.github.vorandel.Vorandel
PACKAGE_TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The regular files and links under $1, relative and sorted, must be those listed in file $2.
check_file_list() {
    local listed
    listed=$(cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
    diff -u "$2" <(printf '%s\n' "$listed") >&2 || fail "installed files differ from $(basename "$2")"
}

# The menu entry, the AppStream metadata and the manual page pass their own validators; the
# entry starts the program at $2 (its installed path) with standard output sent to /dev/null.
check_desktop_files() {
    local tree=$1 program=$2 version=$3
    local desktop=$tree/usr/share/applications/$APP_ID.desktop
    local metainfo=$tree/usr/share/metainfo/$APP_ID.metainfo.xml
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
    grep -qxF "Exec=sh -c \"exec $program >/dev/null\"" "$desktop" ||
        fail "the menu entry does not start $program with its output sent to /dev/null"
    grep -qxF "TryExec=$program" "$desktop" || fail "TryExec does not name $program"
    grep -qxF "Icon=$APP_ID" "$desktop" || fail "the menu entry names another icon"

    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metadata"
    grep -qF "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" ||
        fail "the metadata does not launch $APP_ID.desktop"
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metadata has no release $version"

    local page=$tree/usr/share/man/man6/vorandel.6.gz
    gzip -t "$page" || fail "the manual page is not gzip data"
    mandoc -T lint "$page" || fail "mandoc -T lint reports on the manual page"
    local groff_out
    groff_out=$(zcat "$page" | groff -ww -mandoc -Tutf8 2>&1 >/dev/null)
    [ -z "$groff_out" ] || fail "groff -ww warns: $groff_out"
}

# The hicolor icons: one scalable SVG and the PNGs at their folder's size.
check_icons() {
    local icons=$1/usr/share/icons/hicolor size
    file -b "$icons/scalable/apps/$APP_ID.svg" | grep -q 'SVG' || fail "the scalable icon is not SVG"
    for size in 48 128 256; do
        file -b "$icons/${size}x$size/apps/$APP_ID.png" | grep -q "^PNG image data, $size x $size," ||
            fail "the ${size}x$size icon is $(file -b "$icons/${size}x$size/apps/$APP_ID.png")"
    done
}
