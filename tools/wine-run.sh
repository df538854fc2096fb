#!/usr/bin/env bash
# Runs a Windows program under wine64 for the build folder given first: a dedicated Wine
# prefix inside that folder, and an X display (a shared Xvfb is started when none is set).
# Wine runs with the Russian locale, so that the ANSI code page is 1251 as on the machines
# of the configurator's users (the glibc locale must exist: scripts/deps.sh makes it).
#   tools/wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
root=$(cd "$1" && pwd)
shift
locale=ru_RU.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    echo "wine-run: the locale $locale is missing; scripts/deps.sh creates it" >&2
    exit 1
fi
export LANG=$locale LC_ALL=$locale
export WINEPREFIX="$root/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=win64

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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot -i >/dev/null 2>&1 9>&- || true
    wineserver -w 9>&- || true
fi
# Wine has no Courier New, the configurator's module font; without a replacement it falls back
# to a proportional face. Name a monospace face for it once per prefix, as on a real machine.
if [ ! -f "$WINEPREFIX/.tintmark-fonts" ]; then
    for face in "Courier New" "Courier"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "DejaVu Sans Mono" /f \
            >/dev/null 2>&1 9>&- || true
    done
    wineserver -w 9>&- || true
    touch "$WINEPREFIX/.tintmark-fonts"
fi
flock -u 9
exec 9>&-
exec wine "$@"
