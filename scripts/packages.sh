#!/usr/bin/env bash
# The Debian packages the project needs, in one list grouped by purpose, and the function that
# installs the missing ones. Sourced by the other scripts: `ensure_packages GROUP...` installs
# what those groups name and is not yet installed (as root, or through sudo).

declare -A VORANDEL_PACKAGES=(
  # Building and running the program.
  [build]="g++ make cmake pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri"
  # The headless demo: a virtual display, typed keys, screenshots.
  [demo]="xvfb xauth xdotool x11-apps imagemagick"
  # The test suite: GoogleTest, benchmarks, the comparison peer, clang with its sanitizer and
  # fuzzer runtimes, the Python model that writes the golden data, and process tools.
  [test]="libgtest-dev libgmock-dev libbenchmark-dev libstb-dev clang libclang-rt-14-dev python3 python3-pyflakes python3-pycodestyle procps"
  # The same unit tests built for aarch64 and run under user-mode emulation.
  [cross]="g++-aarch64-linux-gnu qemu-user"
  # The Debian package and the checks of what it installs (gio starts the menu entry).
  [package]="dpkg-dev fakeroot file lintian desktop-file-utils appstream mandoc groff-base librsvg2-bin libglib2.0-bin"
  # The browser build and its tests in headless Chromium.
  [web]="emscripten nodejs chromium chromium-driver python3-selenium python3-pil"
)

ensure_packages() {
  local missing=() group p
  for group in "$@"; do
    if [ -z "${VORANDEL_PACKAGES[$group]+set}" ]; then
      echo "ensure_packages: no package group '$group'" >&2
      return 1
    fi
    for p in ${VORANDEL_PACKAGES[$group]}; do
      if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
      fi
    done
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo=(sudo); else
      echo "error: need root or sudo to install: ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
