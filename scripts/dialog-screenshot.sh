#!/usr/bin/env bash
# Saves a screenshot of a dialog with a control of every type
# (tests/children/dialog_gallery.cpp) to the file given, default
# docs/dialog.png. Runs where Wine runs; from a host that runs no 32-bit
# code, run it inside the virtual machine (see README) and copy the file out.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
shot="${1:-$root/docs/dialog.png}"
program="$build_dir/children/dialog_gallery.exe"

# A fresh prefix starts Wine's services first; under emulation that takes
# minutes.
show_program "$program" '^Every control type' 300
if [ -z "$window" ]; then
  kill -0 "$program_pid" 2>/dev/null && state="still runs" || state="has ended"
  import -window root "$shot" 2>/dev/null || true
  echo "the gallery showed no dialog within 300 seconds (the program $state); the whole screen is in $shot" >&2
  exit 1
fi
sleep 2
import -window "$window" -frame "$shot" 2>/dev/null || import -window root "$shot"
kill "$program_pid" 2>/dev/null || true
echo "screenshot saved to $shot"
