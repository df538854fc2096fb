#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, when something is missing.
# Safe to run again; needs root (or sudo) only when there is something to install.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
packages=(cmake g++ clang libclang-rt-14-dev ninja-build libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
          wine wine64 libwine-dev xvfb xauth python3 python3-pefile libpcre2-dev pkg-config
          libstb-dev fonts-dejavu-core locales pandoc faketime)
# The configurator is 32-bit: where this machine runs 32-bit programs, the shipped DLL is
# tested under 32-bit Wine (wine32 from the i386 architecture).
if "$here/tools/can-run-32bit.sh" >/dev/null 2>&1; then
    packages+=(wine32:i386)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Wine runs the tests under this locale (ANSI code page 1251), see tools/wine-run.sh.
locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && havelocale=1 || havelocale=0
[ ${#missing[@]} -eq 0 ] && [ $havelocale -eq 1 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null; then
    sudo="sudo"
else
    echo "Missing packages or the ru_RU.UTF-8 locale and no root: apt-get install ${missing[*]} locales;" \
         "localedef -i ru_RU -f UTF-8 ru_RU.UTF-8" >&2
    exit 1
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ $havelocale -eq 0 ]; then
    echo "Creating the locale ru_RU.UTF-8"
    $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
