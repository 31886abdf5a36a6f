#!/usr/bin/env bash
# Sourced by the tests that run the Windows program under Wine on an Xvfb display: the real-window
# helpers with wine as the launcher, and a Wine prefix for the test, the one WINEPREFIX names or
# else one of its own, removed on exit. Expects root, the repository's top folder.
# shellcheck disable=SC2154,SC2034  # root comes from the test; TESTS is for it
VORANDEL=$(command -v wine)
export VORANDEL
source "$root/tests/app/e2e_lib.sh"
source "$root/scripts/windows_env.sh"
TESTS=$root/tests/package
own_prefix=""
cleanup() {
    # The wineserver goes before the display it may still be connected to.
    if [ -n "$own_prefix" ]; then wine_stop; else wine_server_stop; fi
    e2e_cleanup
}
trap cleanup EXIT
if [ -z "${WINEPREFIX:-}" ]; then
    own_prefix=1
    wine_start >/dev/null || fail "could not make a Wine prefix"
fi
