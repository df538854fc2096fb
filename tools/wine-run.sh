#!/usr/bin/env bash
# Runs a Windows program for the build folder given first: a Wine prefix of that folder's
# bitness inside it (32-bit for the i686 build, 64-bit for the x86_64 one), the Russian locale
# (ANSI code page 1251, as on the configurator's machines; the glibc locale must exist:
# scripts/deps.sh makes it), fixed font substitutes, and an X display (a shared Xvfb is
# started when none is set).
#   tools/wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
root=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
locale=ru_RU.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    echo "wine-run: the locale $locale is missing; scripts/deps.sh creates it" >&2
    exit 1
fi
# CMake writes the build's processor into wine-arch (win32 or win64).
arch=$(cat "$root/wine-arch" 2>/dev/null || echo win64)
case "$arch" in
    win32) loader=/usr/lib/wine/wine ;;
    win64) loader=/usr/lib/wine/wine64 ;;
    *) echo "wine-run: unknown architecture '$arch' in $root/wine-arch" >&2; exit 1 ;;
esac
if [ ! -x "$loader" ]; then
    if [ "$arch" = win32 ]; then
        echo "wine-run: 32-bit Wine is not installed ($loader); scripts/deps.sh installs wine32:i386" \
             "where the machine runs 32-bit programs" >&2
    else
        echo "wine-run: $loader is missing; scripts/deps.sh installs wine64" >&2
    fi
    exit 1
fi
export LANG=$locale LC_ALL=$locale
export WINEPREFIX="$root/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=$arch
export WINELOADER=$loader

exec 9>"$root/.wine-run.lock"
flock 9
if [ -z "${DISPLAY:-}" ]; then
    # One Xvfb per build folder, kept for later runs.
    if [ -s "$root/.xvfb.display" ] && kill -0 "$(cat "$root/.xvfb.pid" 2>/dev/null)" 2>/dev/null; then
        :
    else
        rm -f "$root/.xvfb.display"
        setsid Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$root/.xvfb.display" 9>&- \
            >/dev/null 2>&1 < /dev/null &
        echo $! > "$root/.xvfb.pid"
        for _ in $(seq 100); do [ -s "$root/.xvfb.display" ] && break; sleep 0.1; done
        [ -s "$root/.xvfb.display" ] || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
    fi
    export DISPLAY=":$(head -n1 "$root/.xvfb.display")"
fi
# A wineserver keeps the code page it started with: one left from a run under another
# locale must end first.
if [ "$(cat "$root/.wine-locale" 2>/dev/null)" != "$locale" ]; then
    wineserver -w 9>&- 2>/dev/null || true
    echo "$locale" > "$root/.wine-locale"
fi
# A prefix works only with the loaders it was made with (one made while only wine64 was
# installed fails under wine32 with "could not load kernel32.dll"), so it records them and
# is made afresh when they change. Tests register what they need on every run.
made_with="$arch $(ls /usr/lib/wine 2>/dev/null | tr '\n' ' ')$("$loader" --version 2>/dev/null) fonts-v1"
if [ -d "$WINEPREFIX" ] && [ "$(cat "$WINEPREFIX/.tintmark-made-with" 2>/dev/null)" != "$made_with" ]; then
    echo "wine-run: making the Wine prefix afresh for: $made_with" >&2
    wineserver -k 9>&- 2>/dev/null || true
    wineserver -w 9>&- 2>/dev/null || true
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/.tintmark-made-with" ]; then
    "$loader" wineboot -i >/dev/null 2>&1 9>&- || true
    wineserver -w 9>&- || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-run: wineboot could not make $WINEPREFIX" >&2
        exit 1
    fi
    # Pictures must not depend on which optional font packages the machine has: every face
    # that the configurator, the simulator, the menus and the control ask for is substituted
    # by a DejaVu face (fonts-dejavu-core, installed by scripts/deps.sh). Substitutes apply
    # whether or not a font of the asked name is installed (fonts-wine brings Tahoma and
    # Courier, fonts-liberation changes Wine's fallbacks), unlike Wine's font replacements.
    "$loader" regedit /S "Z:${here//\//\\}\\wine-fonts.reg" >/dev/null 2>&1 9>&-
    wineserver -w 9>&- || true
    echo "$made_with" > "$WINEPREFIX/.tintmark-made-with"
fi
flock -u 9
exec 9>&-
exec "$loader" "$@"
