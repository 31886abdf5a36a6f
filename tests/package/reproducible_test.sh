#!/usr/bin/env bash
# Makes the release of the commit checked out a second time, with scripts/release in a clone in a
# temporary folder, under another umask, time zone and locale and with SOURCE_DATE_EPOCH unset,
# and checks that every file dist/SHA256SUMS lists (made in this tree by scripts/release, or by
# scripts/release --collect after the build steps) comes out the same to the byte. On a difference
# it prints what diffoscope finds in the first file that differs.
#   reproducible_test.sh
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
sums=$root/dist/SHA256SUMS
[ -f "$sums" ] || fail "no $sums: run scripts/release first"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

second=$WORK/elsewhere/vorandel
git clone -q --no-checkout "$root" "$second" || fail "git clone"
git -C "$second" checkout -q --detach "$(git -C "$root" rev-parse HEAD)" || fail "git checkout"
# Another locale than this shell's.
other_locale=C
[ "$(locale 2>/dev/null | sed -n 's/^LC_COLLATE=//p' | tr -d '"')" = C ] && other_locale=C.UTF-8
start=$SECONDS
(cd "$second" && umask 077 && env -u SOURCE_DATE_EPOCH TZ=Pacific/Chatham LC_ALL=$other_locale \
    timeout 1200 scripts/release >"$WORK/release.log" 2>&1) || {
    tail -30 "$WORK/release.log" >&2
    fail "scripts/release in $second failed"
}
echo "The second release (umask 077, TZ=Pacific/Chatham, LC_ALL=$other_locale) took" \
    "$((SECONDS - start)) s"

# The files listed here, each against the same file of the second release.
compared=() differing=()
while read -r sum file; do
    other=$(awk -v f="$file" '$2 == f { print $1 }' "$second/dist/SHA256SUMS")
    [ -n "$other" ] || fail "the second release has no $file"
    compared+=("$file")
    [ "$sum" = "$other" ] || differing+=("$file")
done <"$sums"
extra=$(awk 'NR == FNR { ours[$2] = 1; next } !($2 in ours) { printf " %s", $2 }' "$sums" \
    "$second/dist/SHA256SUMS")
[ -z "$extra" ] || echo "Made only by the second release, so not compared:$extra"
if [ ${#differing[@]} -gt 0 ]; then
    echo "diffoscope on ${differing[0]}:" >&2
    timeout 600 diffoscope --text - "$root/dist/${differing[0]}" "$second/dist/${differing[0]}" |
        head -n 150 >&2
    fail "the two releases differ in: ${differing[*]}"
fi
echo "PASS: the two releases agree to the byte on ${#compared[@]} files: ${compared[*]}"
