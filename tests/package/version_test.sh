#!/usr/bin/env bash
# Checks that every artefact in a dist/ folder shows the version CMakeLists.txt names, each read
# the way versions.txt says (the package tools, the PE resources, the page's JSON, the files'
# text), and that the dates come from CHANGELOG.md and the commit, not from the build:
#   version_test.sh DIST
set -u
dist=$(realpath "${1:?usage: version_test.sh DIST}")
root=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

version=$(sed -n 's/^project(Vorandel VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
date=$(sed -n "s/^## \[$version\] - \([0-9-]*\)$/\1/p" "$root/CHANGELOG.md")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

# Group 1 of the regular expression $1 at its first match in the standard input.
match() {
    /usr/bin/python3 -c 'import re, sys
found = re.search(sys.argv[1], sys.stdin.buffer.read().decode(errors="replace"), re.M)
print(found.group(1) if found else "")' "$1"
}

# The readers: $1 is the artefact, $2 the rest of the line.
deb_field() { dpkg-deb --field "$1" "$2"; }
deb_member() { dpkg-deb --fsys-tarfile "$1" | tar -xO "./$2"; }
deb_changelog() {
    deb_member "$1" usr/share/doc/vorandel/changelog.gz | gzip -dc >"$WORK/changelog"
    dpkg-parsechangelog -l "$WORK/changelog" -S "$2"
}
deb_appstream() {
    deb_member "$1" usr/share/metainfo/io.github.vorandel.Vorandel.metainfo.xml |
        /usr/bin/python3 -c 'import sys, xml.etree.ElementTree as tree
print(tree.parse(sys.stdin).getroot().find("releases/release").get(sys.argv[1]))' "$2"
}
# The string resource named $2 (UTF-16, as windres and NSIS write them).
pe_string() { strings -el "$1" | grep -A1 -x -m1 "$2" | sed -n 2p; }
# The binary version of the version resource: the four numbers after its signature 0xFEEF04BD.
pe_fixed() {
    /usr/bin/python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
if at >= 0:
    high, low = struct.unpack_from("<II", data, at + 8)
    print(f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}")' "$1"
}
text() { match "$2" <"$1"; }
json_member() {
    /usr/bin/python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' "$1" "$2"
}
# "in_zip MEMBER READER REST" and "in_tar ...": the reader on a member of the archive.
in_zip() { unzip -p "$1" "${2%% *}" >"$WORK/member" && then_read "${2#* }"; }
in_tar() { tar -xzOf "$1" "${2%% *}" >"$WORK/member" && then_read "${2#* }"; }
then_read() { "${1%% *}" "$WORK/member" "${1#* }"; }

checked=0 failed=0
while read -r artefact expected reader rest; do
    case $artefact in '' | '#'*) continue ;; esac
    artefact=${artefact//@V@/$version}
    rest=${rest//@V@/$version}
    optional=""
    if [ "${artefact#\?}" != "$artefact" ]; then
        optional=1
        artefact=${artefact#\?}
    fi
    if [ ! -f "$dist/$artefact" ]; then
        [ -n "$optional" ] || [ "$artefact" = "${missing:-}" ] && continue
        echo "FAIL: no $artefact in $dist" >&2
        failed=$((failed + 1)) missing=$artefact
        continue
    fi
    expected=${expected//@V@/$version}
    expected=${expected//@DATE@/$date}
    expected=${expected//@EPOCH@/$epoch}
    found=$("$reader" "$dist/$artefact" "$rest" 2>&1)
    checked=$((checked + 1))
    if [ "$found" != "$expected" ]; then
        echo "FAIL: $artefact, $reader $rest: '$found', not '$expected'" >&2
        failed=$((failed + 1))
    fi
done <"$root/tests/package/versions.txt"
[ -n "$date" ] || { echo "FAIL: CHANGELOG.md has no dated entry for $version" >&2; exit 1; }
[ "$failed" -eq 0 ] || exit 1
echo "PASS: version $version (of $date, commit time $epoch) in all $checked places read"
