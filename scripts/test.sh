#!/usr/bin/env bash
# Sets up if needed, builds, and runs every test under Wine on a private
# virtual display. Exits non-zero on any failure; after CTest's summary it
# prints the ten slowest entries and the GoogleTest cases run and failed.
# Arguments go to CTest. Where the kernel runs no 32-bit code (or with
# REACHLET_VM=1) the suite runs inside a virtual machine (scripts/vm-env.sh).
#   --long (first)  runs the long set instead: the night and the thousands of
#                   windows and dialogs, each for up to an hour or two.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
long=""
if [ "${1:-}" = --long ]; then
  long=1
  shift
fi

source scripts/wine-env.sh
source scripts/vm-env.sh
in_vm=""
if reason=$(vm_reason); then
  echo "The tests run in a virtual machine: $reason."
  in_vm=1
fi
bash scripts/setup.sh

if [ -n "$in_vm" ]; then
  build_project "$vm_time_scale"
  status=0
  # The entries that need a compiler and no Wine (labelled "host") run here:
  # the machine has no compiler and skips them.
  if [ -z "$long" ]; then
    echo "Entries that run on the host:"
    ctest --test-dir "$build_dir" -L host --output-on-failure "$@" || status=$?
  fi
  vm_prepare_root
  trap vm_cleanup EXIT
  [ -z "$long" ] || vm_minutes=$((vm_minutes + 240))
  vm_run scripts/test.sh ${long:+--long} "$@" || status=$?
  exit $status
fi

build_project
trap stop_wine_and_display EXIT
start_virtual_display
# Two entries at a time, each in its lane (tests/lanes.json). The other
# prefixes the tests make (the lanes', the run command's, the isolated
# probes') start as copies of this one.
start_lanes "$build_dir/wineprefix" 2

status=0
if [ -n "$long" ]; then
  run_tests -L long "$@" || status=$?
else
  run_tests -LE long "$@" || status=$?
fi
exit $status
