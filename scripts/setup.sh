#!/usr/bin/env bash
# Installs, from Debian's packages only, everything needed to build, run and
# test Reachlet (scripts/packages.sh lists them): the mingw-w64 i686 cross
# toolchain, 32-bit Wine with its fonts, a virtual display, xdotool,
# ImageMagick, CMake and the GoogleTest sources; iproute2 for the
# isolated-network tests, ping for the sensapi benchmark, and an RTF reader
# and Ghostscript that tests check the rich edit's output with. Where the kernel
# runs no 32-bit code (or REACHLET_VM=1), also what builds and boots the
# virtual machine the tests then run in.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Inside the VM the host has already set up and built this tree.
[ -z "${REACHLET_IN_VM:-}" ] || exit 0

source "$root/scripts/packages.sh"

missing_of() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

install_packages() {
  [ $# -gt 0 ] || return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  echo "setup: installing $*"
  # Wait for another apt run (a second set-up started at the same time) rather than fail.
  local wait_lock=(-o DPkg::Lock::Timeout=600)
  $sudo apt-get "${wait_lock[@]}" update -qq
  $sudo apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends "$@" >/dev/null
}

mapfile -t missing < <(missing_of "${run_packages[@]}" "${build_packages[@]}")
install_packages "${missing[@]}"

source "$root/scripts/vm-env.sh"
if vm_reason >/dev/null; then
  mapfile -t missing < <(missing_of "${vm_host_packages[@]}")
  install_packages "${missing[@]}"
fi
exit 0
