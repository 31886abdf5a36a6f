# shellcheck shell=bash
# Sourced by the Windows scripts (package-windows, unit-builds wine, the Windows tests and
# benchmark): the static freeglut for the cross build, the configured Windows build, and a Wine
# prefix of our own for running what it builds.
#
#   windows_configure BUILD [CMAKE-ARGUMENTS...]  freeglut into BUILD/freeglut (once), then the
#                                                 program's build configured in BUILD
#   wine_start                                    a new Wine prefix in a temporary folder
#   wine_stop                                     its wineserver stopped, the prefix removed

WINDOWS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINDOWS_TOOLCHAIN=$WINDOWS_ROOT/cmake/x86_64-w64-mingw32.cmake

# freeglut from Debian's own source package, fetched with apt-get source through a source list of
# our own (the machine's mirror, as deb-src), so that the machine's apt configuration and package
# lists stay as they are; dpkg-source checks the unpacked sources against the .dsc. Built as a
# static library, without demos, into PREFIX; nothing is done when PREFIX already holds it. Its
# debian/copyright and Debian version are kept in PREFIX/share/doc/freeglut for the licence
# notices.
windows_freeglut() {
    local prefix=$1
    [ -f "$prefix/lib/cmake/FreeGLUT/FreeGLUTConfig.cmake" ] &&
        [ -f "$prefix/share/doc/freeglut/copyright" ] && return 0
    local work
    work=$(mktemp -d)
    mkdir -p "$work/lists/partial"
    local list
    if compgen -G '/etc/apt/sources.list.d/*.sources' >/dev/null; then
        list=$work/deb-src.sources
        for f in /etc/apt/sources.list.d/*.sources; do
            sed 's/^Types:.*/Types: deb-src/' "$f"
            echo
        done >"$list"
    else
        list=$work/deb-src.list
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed -n 's/^deb[[:space:]]/deb-src /p' >"$list"
    fi
    local apt=(apt-get -qq -o Dir::Etc::sourcelist="$list" -o Dir::Etc::sourceparts=-
        -o Dir::State::Lists="$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
        -o APT::Sandbox::User="$(id -un)")
    echo "freeglut: fetching Debian's source package"
    timeout 300 "${apt[@]}" update || { rm -rf "$work"; return 1; }
    (cd "$work" && timeout 300 "${apt[@]}" source freeglut) || { rm -rf "$work"; return 1; }
    local source
    source=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*')
    echo "freeglut: building $(basename "$source") for Windows, static"
    if ! {
        timeout 600 cmake -S "$source" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
            -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
            -DFREEGLUT_BUILD_DEMOS=OFF >"$work/configure.log" 2>&1 &&
            timeout 600 cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 &&
            cmake --install "$work/build" >/dev/null &&
            mkdir -p "$prefix/share/doc/freeglut" &&
            cp "$source/debian/copyright" "$prefix/share/doc/freeglut/copyright" &&
            dpkg-parsechangelog -l "$source/debian/changelog" -S Version \
                >"$prefix/share/doc/freeglut/version"
    }; then
        tail -20 "$work"/*.log >&2
        rm -rf "$work" "$prefix"
        return 1
    fi
    rm -rf "$work"
}

windows_configure() {
    local build=$1
    shift
    windows_freeglut "$build/freeglut"
    # Optimised as the Linux build (-O2), without debugging information: the program is stripped.
    cmake -S "$WINDOWS_ROOT" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DFreeGLUT_DIR="$build/freeglut/lib/cmake/FreeGLUT" -DBUILD_TESTING=OFF "$@" >/dev/null
}

# Wine, quiet, without the prompts to install Mono and Gecko, and without winemenubuilder, which
# would copy the prefix's Start-menu entries and file types into the user's desktop menus.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINE_TMP=""

wine_start() {
    WINE_TMP=$(mktemp -d)
    export WINEPREFIX=$WINE_TMP/prefix
    echo "Wine: making a prefix in $WINEPREFIX"
    timeout 180 wineboot -i >"$WINE_TMP/wineboot.log" 2>&1 || {
        cat "$WINE_TMP/wineboot.log" >&2
        echo "error: wineboot -i failed or took over 180 s" >&2
        return 1
    }
    wine_server_stop
}

# Waits for the prefix's wineserver to end (it does a few seconds after its last program), and
# kills it if it has not within the deadline.
wine_server_stop() {
    timeout 30 wineserver -w || true
    timeout 10 wineserver -k 2>/dev/null || true
}

wine_stop() {
    [ -n "$WINE_TMP" ] || return 0
    wine_server_stop
    rm -rf "$WINE_TMP"
    WINE_TMP=""
}
