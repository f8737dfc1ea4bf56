#!/usr/bin/env bash
# Installs, from Debian's packages only, everything needed to build, run and
# test Reachlet: the mingw-w64 i686 cross toolchain, 32-bit Wine, a virtual
# display, xdotool, ImageMagick, CMake and the GoogleTest sources; iproute2
# for the isolated-network tests and ping for the sensapi benchmark.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386
  xvfb xdotool x11-utils imagemagick
  cmake make googletest
  iproute2 iputils-ping
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}"
# Wait for another apt run (a second set-up started at the same time) rather than fail.
wait_lock=(-o DPkg::Lock::Timeout=600)
$sudo apt-get "${wait_lock[@]}" update -qq
$sudo apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
