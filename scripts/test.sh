#!/usr/bin/env bash
# Sets up if needed, builds, and runs every test under Wine on a private
# virtual display. Exits non-zero on any failure; CTest's summary comes last.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/wine-env.sh
build_project

trap stop_wine_and_display EXIT
start_virtual_display
prepare_prefix "$build_dir/wineprefix"
start_wineserver

status=0
run_tests "$@" || status=$?
exit $status
