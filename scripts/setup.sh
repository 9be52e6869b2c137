#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Quiet and idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  # native build and unit tests
  build-essential cmake ninja-build g++ clang clang-format libclang-rt-14-dev
  googletest libgtest-dev
  # Windows cross builds: 32-bit (the shipped program) and 64-bit
  mingw-w64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  # running and driving the Windows programs: wine32 runs the 32-bit ones
  # in the same prefix as the 64-bit ones
  wine wine64 wine32:i386 xvfb xdotool x11-utils x11-xserver-utils xclip imagemagick openbox
  # Arial's metrics under Wine; version 2 carries the Vietnamese letters
  fonts-liberation fonts-liberation2 fonts-dejavu-core
  # artwork, test server, proxy
  python3 python3-pil openssl tinyproxy curl procps
  # reading the built exe (imports, manifest, version) and signing it
  python3-pefile osslsigncode
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# wine32 comes from Debian's i386 half of the archive.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The test proxy is started by the tests themselves, on their own port.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet tinyproxy 2>/dev/null; then
  systemctl stop tinyproxy >/dev/null 2>&1 || true
fi
exit 0
