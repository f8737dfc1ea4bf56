#!/usr/bin/env bash
# Sets up if needed, builds, and starts Reachlet under Wine on your display;
# with the argument "fleet", Reachlet Fleet (which reads fleet-hosts.txt
# beside it, when there is one). With no display it runs on a virtual one,
# saves a screenshot and says where.
#   bash scripts/run.sh [fleet]
# Where the kernel runs no 32-bit code (or with REACHLET_VM=1) that virtual
# display is inside a virtual machine (scripts/vm-env.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source scripts/wine-env.sh
source scripts/vm-env.sh
case "${1:-}" in
  "") program="$build_dir/app/Reachlet.exe" name=Reachlet title='^Reachlet' ;;
  fleet) program="$build_dir/app/ReachletFleet.exe" name="Reachlet Fleet" title='^Reachlet Fleet' ;;
  *) echo "usage: bash scripts/run.sh [fleet]"; exit 2 ;;
esac
shot="$build_dir/screenshot.png"

if reason=$(vm_reason); then
  if [ -n "${DISPLAY:-}" ]; then
    echo "$name cannot show its window on $DISPLAY: $reason, so it runs only in a virtual machine; unset DISPLAY to run it there and save a screenshot."
    exit 1
  fi
  echo "$name runs in a virtual machine: $reason."
  bash scripts/setup.sh
  build_project
  vm_prepare_root
  trap vm_cleanup EXIT
  vm_run scripts/run.sh "$@" || { echo "$name's run in the virtual machine failed (status $?)"; exit 1; }
  rm -f "$shot"
  if vm_copy_out "$shot" "$shot"; then
    echo "screenshot copied out of the virtual machine to $shot"
  else
    echo "the virtual machine left no screenshot"
    exit 1
  fi
  exit 0
fi

bash scripts/setup.sh
build_project
# Wine's own sensapi answers TRUE for every host; use the one built beside the program.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;sensapi=n,b"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare_prefix "$build_dir/wineprefix-run"
  exec wine "$program"
fi

show_program "$program" "$title" 30
sleep 1
import -window root "$shot"
if [ -n "$window" ]; then
  echo "$name ran on virtual display $DISPLAY; screenshot saved to $shot"
else
  echo "$name showed no window within 30 seconds; screenshot saved to $shot"
fi
kill "$program_pid" 2>/dev/null || true
