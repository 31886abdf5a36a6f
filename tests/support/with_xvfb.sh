#!/usr/bin/env bash
# Runs a command on an X display of its own: starts Xvfb on a free display number (depth 24, for
# GLX), runs the command with DISPLAY set, then stops the server it started, by process id.
# Exits with the command's status. -noreset: without it, a short-lived client that leaves during
# the connection handshake (an xdotool poll) resets the server and the next client cannot connect.
set -u
fdfile=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb_pid=$!
cleanup() {
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -f "$fdfile"
}
trap cleanup EXIT
for _ in $(seq 200); do
    [ -s "$fdfile" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
display=$(head -n1 "$fdfile")
if [ -z "$display" ]; then
    echo "with_xvfb: Xvfb did not start" >&2
    exit 1
fi
DISPLAY=":$display" "$@"
