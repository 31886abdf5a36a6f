# shellcheck shell=bash
# Sourced by the scripts that run emscripten. Debian's emscripten finds its JavaScript optimiser's
# parser (node-acorn) only through NODE_PATH. Its cache of system libraries lives in its own
# folder, which only root can write; anyone else gets a cache of their own (built on first use,
# which takes a few minutes).
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
if [ -z "${EM_CACHE:-}" ] && [ ! -w "$(em-config CACHE 2>/dev/null || echo /nonexistent)" ]; then
    export EM_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/vorandel/emscripten"
fi
