# Shared by the scripts: paths, package installation and the build.
# The scripts stop at the first failure. A person's own shell must not take
# that on: the next failing command would close it. By hand, source this in
# a shell of its own: bash -c 'source scripts/lib.sh && ...' (README.md).
case $- in
*i*)
    echo "scripts/lib.sh is for scripts: use it in bash -c 'source scripts/lib.sh && ...'" >&2
    return 1
    ;;
esac
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VEXMORA_BUILD:-$ROOT/build}"
DEPS="$ROOT/build/deps"
# The program's own prefix (scripts/run): its registry holds the settings a
# person made. The tests run in a prefix of their own, so they never touch
# those settings and can run while the program is up.
export WINEPREFIX="$BUILD/wineprefix"
TEST_PREFIX="$BUILD/wineprefix-tests"
export WINEARCH=win32
export WINEDEBUG=-all
# Without the debugger a crashing program exits non-zero instead of 0.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

PACKAGES=(g++-mingw-w64-i686-posix cmake ninja-build wine wine32:i386 fonts-wine xvfb xauth
          googletest dpkg-dev python3 python3-aiosmtpd openbox xdotool xterm)

say() { printf '== %s\n' "$*"; }

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

install_packages() {
    local missing
    missing="$(missing_packages)"
    [ -z "$missing" ] && return 0
    say "installing: $(echo $missing)"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# Wine names Unix files in the charset of the locale that the environment
# names (LC_ALL, else LC_CTYPE, else LANG): under C, or under a locale that is
# not installed, it has only ASCII and cannot name a folder in other letters.
# No locale at all is taken as C.UTF-8 (to Wine the same English system); a
# named one that is missing is generated, as a system of that language has it.
LOCALE_GEN="${VEXMORA_LOCALE_GEN:-/etc/locale.gen}"
SUPPORTED_LOCALES="${VEXMORA_SUPPORTED_LOCALES:-/usr/share/i18n/SUPPORTED}"
ensure_locale() {
    local name="${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" line
    case "$name" in
    "" | C | POSIX)
        export LC_ALL=C.UTF-8
        return 0
        ;;
    esac
    # "locale -a" names ja_JP.UTF-8 "ja_JP.utf8".
    locale -a 2>/dev/null | sed 's/utf-\?8$/UTF-8/I' | grep -xF "$(sed 's/utf-\?8$/UTF-8/I' <<<"$name")" >/dev/null &&
        return 0
    dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q "install ok installed" ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends locales
    line="$(grep -m1 -x "$name [^ ]*" "$SUPPORTED_LOCALES" || true)"
    if [ -z "$line" ]; then
        echo "The locale $name is unknown: folders named outside ASCII cannot be made under it." >&2
        return 0
    fi
    say "generating the locale $name"
    grep -qxF "$line" "$LOCALE_GEN" 2>/dev/null || echo "$line" >>"$LOCALE_GEN"
    locale-gen >/dev/null
}

# Source entries mirror the machine's own binary entries, so no host is named here.
enable_source_entries() {
    apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package:' && return 0
    local f out=/etc/apt/sources.list.d/vexmora-src.sources
    : >"$out.tmp"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -e "$f" ] && [ "$f" != "$out" ] || continue
        sed -n '/^Types:/!p; /^Types:/s/.*/Types: deb-src/p' "$f" >>"$out.tmp"
        echo >>"$out.tmp"
    done
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >/etc/apt/sources.list.d/vexmora-src.list
    fi
    mv "$out.tmp" "$out"
    apt-get update -q
}

build_deps() {
    [ -f "$DEPS/lib/libjpeg.a" ] && return 0
    say "building libjpeg into $DEPS"
    enable_source_entries
    local src="$DEPS/src"
    rm -rf "$src" && mkdir -p "$src"
    (cd "$src" && apt-get source -q --download-only libjpeg-turbo && dpkg-source -x ./*.dsc tree >/dev/null 2>&1)
    cmake -S "$src/tree" -B "$src/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$DEPS" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
        -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -Wno-dev >/dev/null
    cmake --build "$src/build" >/dev/null
    cmake --install "$src/build" >/dev/null
    rm -rf "$src"
}

configure_and_build() {
    if [ ! -f "$BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    fi
    # VEXMORA_TARGETS narrows the build to some test executables while working.
    if [ -n "${VEXMORA_TARGETS:-}" ]; then
        cmake --build "$BUILD" --target wine_session $VEXMORA_TARGETS
    else
        cmake --build "$BUILD"
    fi
}

# The prefix's first start takes a while; later ones are quick.
ensure_wine_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    say "creating the Wine prefix"
    wineboot --init >/dev/null 2>&1 || true
    # Xvfb has no window manager: without this, Wine waits for one each time
    # a top-level window is hidden or destroyed.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
}

# This Wine does not look into its own font folder: the glyph font of the
# alert buttons is put into the prefix, where it is found.
ensure_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f /usr/share/wine/fonts/marlett.ttf ] || return 0
    [ -e "$fonts/marlett.ttf" ] && return 0
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}

XVFB_PID=""
start_display() {
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
    done
    echo "could not start Xvfb" >&2
    return 1
}

use_test_prefix() {
    export WINEPREFIX="$TEST_PREFIX"
}

# Wine starts its services and desktop process from the first program of a
# session and they inherit that program's output: start them from a holder
# with no output, so ctest never waits on a pipe they keep open.
WINE_SESSION_STARTED=""
start_wine_session() {
    # The session is this run's to hold and to end: one that is already up in
    # the prefix belongs to another run, which must keep it.
    if ! wineserver -p 2>/dev/null; then
        echo "A Wine session is already running in $WINEPREFIX: another scripts/test" >&2
        echo "on this build tree, a test or ctest run by hand (its Wine server lingers a" >&2
        echo "few seconds after the last program ends), or one left behind. Wait for it" >&2
        echo "to end, or end it with" >&2
        echo "  WINEPREFIX=$WINEPREFIX wineserver -k" >&2
        return 2
    fi
    WINE_SESSION_STARTED=1
    local ready="$BUILD/wine-session.ready"
    rm -f "$ready"
    wine "$BUILD/tools/wine_session.exe" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 300); do
        [ -e "$ready" ] && return 0
        sleep 0.1
    done
    echo "the Wine session did not start" >&2
    return 1
}

stop_session() {
    [ -n "$WINE_SESSION_STARTED" ] && { wineserver -k 2>/dev/null || true; }
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# A drive is watched (and gets its temperature icon) once its settings key
# exists; a person ticks it in the list. For the demo, the drives of the
# drive-set file $1 are watched from the first start in the prefix; later
# starts keep what the person chose.
watch_drives_on_first_start() {
    local settings='HKCU\SOFTWARE\Larpok corporation\Vexmora\Mon' model
    wine reg query "$settings" </dev/null >/dev/null 2>&1 && return 0
    sed -n 's/^wmi model *= *//p' "$1" | sed 's/ *;.*$//' | while IFS= read -r model; do
        wine reg add "$settings\\$model" /f </dev/null >/dev/null 2>&1 || true
    done
}

prepare() {
    install_packages
    ensure_locale
    build_deps
    configure_and_build
    ensure_wine_prefix
    ensure_wine_fonts
}
