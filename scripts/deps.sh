#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12 (run as root). Quiet and quick when
# everything is there already; the package lists are fetched only when something is missing.
set -euo pipefail

packages=(
    make cmake ninja-build clang libclang-rt-14-dev g++ googletest python3
    mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine32:i386 wine64 fonts-wine
    xvfb xauth x11-utils imagemagick liblnk-utils locales
    osslsigncode openssl python3-jsonschema python3-yaml clang-format clang-tidy
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
for compiler in i686 x86_64; do
    if ! command -v "$compiler-w64-mingw32-g++-posix" >/dev/null; then
        missing+=("g++-mingw-w64-${compiler//_/-}-posix")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing packages: ${missing[*]}; run $0 as root" >&2
    exit 1
fi
echo "deps: installing ${missing[*]}" >&2
# 32-bit Wine needs the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
