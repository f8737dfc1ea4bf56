#!/usr/bin/env bash
# Sets up if needed, builds, and runs every test under Wine on a private
# virtual display. Exits non-zero on any failure; CTest's summary comes last.
# Arguments go to CTest. Where the kernel runs no 32-bit code (or with
# REACHLET_VM=1) the suite runs inside a virtual machine (scripts/vm-env.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

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
  vm_prepare_root
  trap vm_cleanup EXIT
  status=0
  vm_run scripts/test.sh "$@" || status=$?
  exit $status
fi

build_project
trap stop_wine_and_display EXIT
start_virtual_display
prepare_prefix "$build_dir/wineprefix"
start_wineserver

status=0
run_tests "$@" || status=$?
exit $status
