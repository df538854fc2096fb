#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, when something is missing.
# Safe to run again; needs root (or sudo) only when there is something to install.
set -euo pipefail
packages=(cmake g++ clang libclang-rt-14-dev ninja-build libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
          wine wine64 libwine-dev xvfb xauth python3 python3-pefile libpcre2-dev pkg-config)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null; then
    sudo="sudo"
else
    echo "Missing packages and no root: apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
