# shellcheck shell=bash
# Sourced by the scripts that make what we ship (package, package-windows, web, release), so that
# one commit gives the same files to the byte whenever, wherever and by whomever it is built:
#   SOURCE_DATE_EPOCH      the one time every step writes (file dates in archives, gzip headers,
#                          the PE header); kept when the caller set it, else the time of the
#                          commit checked out, else (an unpacked source archive, which has no
#                          .git) the date its files carry, which is that commit's time
#   umask 022, TZ, LC_ALL  new files' modes, the time zone and the locale's sorting and messages,
#                          the same for everyone
#   reproducible_stage DIR             DIR's files and folders dated SOURCE_DATE_EPOCH, modes 644
#                                      or 755, for tools that copy dates and modes (NSIS)
#   reproducible_zip ZIP DIR [NAME...] DIR's files (or those of its files and folders NAME)
#                                      zipped in byte order of their names, dated
#                                      SOURCE_DATE_EPOCH (packaging/reproducible_zip.py)

REPRODUCIBLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if git -C "$REPRODUCIBLE_ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        SOURCE_DATE_EPOCH=$(git -C "$REPRODUCIBLE_ROOT" log -1 --format=%ct)
    else
        SOURCE_DATE_EPOCH=$(stat -c %Y "$REPRODUCIBLE_ROOT/CMakeLists.txt")
    fi
fi
if ! [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]]; then
    echo "error: SOURCE_DATE_EPOCH is '$SOURCE_DATE_EPOCH', not a number of seconds" >&2
    exit 1
fi
export SOURCE_DATE_EPOCH
umask 022
export TZ=UTC LC_ALL=C.UTF-8
unset LANGUAGE

reproducible_stage() {
    find "$1" -type d -exec chmod 755 {} +
    find "$1" -type f -perm /111 -exec chmod 755 {} +
    find "$1" -type f ! -perm /111 -exec chmod 644 {} +
    find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

reproducible_zip() {
    /usr/bin/python3 "$REPRODUCIBLE_ROOT/packaging/reproducible_zip.py" "$@"
}
