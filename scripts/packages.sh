#!/usr/bin/env bash
# The Debian packages the project needs, in one list grouped by purpose, and the function that
# installs the missing ones. Sourced by the other scripts: `ensure_packages GROUP...` installs
# what those groups name and is not yet installed (as root, or through sudo). A name with an
# architecture (libfoo:arm64) is that architecture's package, installed beside this machine's own
# (multiarch); the architecture is added to dpkg's list on first use.

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
  # The arm64 Debian package: the program cross-built against the arm64 GL, GLU and GLUT
  # libraries (objdump for aarch64 lets dpkg-shlibdeps read them), and run under qemu-aarch64
  # with arm64 Mesa drawing in software.
  [arm64]="g++-aarch64-linux-gnu binutils-aarch64-linux-gnu qemu-user freeglut3-dev:arm64 libglu1-mesa-dev:arm64 libgl-dev:arm64 libgl1-mesa-dri:arm64"
  # The Debian package and the checks of what it installs (gio starts the menu entry).
  [package]="dpkg-dev fakeroot file lintian desktop-file-utils appstream mandoc groff-base librsvg2-bin libglib2.0-bin"
  # The Windows program cross-built with mingw-w64 (posix threads), freeglut from Debian's source
  # package (dpkg-source), its icon (ImageMagick), the installer (NSIS); tests run under Wine
  # (file tells what the program is). Python zips the files.
  [windows]="g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev imagemagick file python3"
  # The browser build (rsvg-convert renders the page's larger icons) and its tests in headless
  # Chromium (tidy checks the page's HTML).
  [web]="emscripten nodejs librsvg2-bin chromium chromium-driver python3-selenium python3-pil tidy"
  # A release (scripts/release): the source archive from git, the web zip made with Python, and
  # diffoscope, which says where two builds that should be the same differ.
  [release]="git python3 diffoscope-minimal"
  # The page in the other engines, each on an Xvfb display: Firefox (driven by npm's
  # puppeteer-core, see ensure_npm_packages) and WebKitGTK (its WebDriver, with a small browser
  # of ours on the GTK and WebKit bindings for Python).
  [engines]="firefox-esr webkit2gtk-driver gir1.2-webkit2-4.1 gir1.2-gtk-3.0 python3-gi python3-selenium python3-pil xvfb xauth"
  # npm, where Node.js came without it (Debian's nodejs; NodeSource's has it).
  [npm]="npm"
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
  # Foreign architectures the names ask for, added before the package lists are fetched (adding
  # one that is already there changes nothing).
  local arch
  for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*://p' | sort -u); do
    if [ "$arch" != "$(dpkg --print-architecture)" ] &&
        ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
      echo "Adding the architecture $arch to dpkg (multiarch)"
      "${sudo[@]}" dpkg --add-architecture "$arch" || return 1
    fi
  done
  # Another apt-get or an unattended upgrade may hold the dpkg lock. apt-get install waits for it
  # (DPkg::Lock::Timeout); apt-get update does not wait for the lock of the package lists, so it is
  # tried again every few seconds while that lock is held. Up to ten minutes each.
  local lock=(-o DPkg::Lock::Timeout=600) waited=0 log
  log=$(mktemp)
  until "${sudo[@]}" apt-get "${lock[@]}" update -qq 2>"$log"; do
    if ! grep -q 'Could not get lock' "$log" || [ "$waited" -ge 600 ]; then
      cat "$log" >&2
      rm -f "$log"
      return 1
    fi
    [ "$waited" -eq 0 ] && echo "Waiting for another package manager to finish (it holds the apt lock)"
    sleep 5
    waited=$((waited + 5))
  done
  rm -f "$log"
  if lslocks -n -o PATH 2>/dev/null | grep -q '^/var/lib/dpkg/lock'; then
    echo "Waiting for another package manager to finish (it holds the dpkg lock)"
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
}

# `ensure_npm_packages FOLDER` installs the npm packages that FOLDER/package-lock.json pins, with
# `npm ci`, unless node_modules holds them already (it keeps a copy of the lock it was installed
# from). Only the packages are downloaded: puppeteer's download of a browser of its own is off.
ensure_npm_packages() {
  local folder=$1
  command -v npm >/dev/null 2>&1 || ensure_packages npm || return 1
  if cmp -s "$folder/package-lock.json" "$folder/node_modules/.installed-lock.json"; then
    return 0
  fi
  echo "Installing the npm packages of $folder (npm ci)"
  (cd "$folder" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund \
    --loglevel=error) || return 1
  cp "$folder/package-lock.json" "$folder/node_modules/.installed-lock.json"
}
