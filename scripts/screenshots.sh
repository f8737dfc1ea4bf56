#!/usr/bin/env bash
# Makes the README's three screenshots in docs/: the main window as it
# starts (screenshot.png, the whole virtual display), then, cut to the
# window, monitoring 127.0.0.1 every 10 seconds with Stop held down
# (monitor-running.png) and after Stop (monitor-stopped.png). Runs on a
# virtual display of its own; where the kernel runs no 32-bit code (or with
# REACHLET_VM=1) that display is inside a virtual machine (scripts/vm-env.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source scripts/wine-env.sh
source scripts/vm-env.sh
program="$build_dir/app/Reachlet.exe"
shots="$build_dir/screenshots"
names=(screenshot.png monitor-running.png monitor-stopped.png)

if reason=$(vm_reason); then
  echo "The screenshots are made in a virtual machine: $reason."
  bash scripts/setup.sh
  build_project
  vm_prepare_root
  trap vm_cleanup EXIT
  vm_run scripts/screenshots.sh || { echo "the screenshot run in the virtual machine failed (status $?)"; exit 1; }
  for name in "${names[@]}"; do
    vm_copy_out "$shots/$name" "$root/docs/$name" || { echo "the virtual machine left no $name"; exit 1; }
  done
  echo "screenshots copied out of the virtual machine to docs/"
  exit 0
fi

bash scripts/setup.sh
build_project
# Wine's own sensapi answers TRUE for every host; use the one built beside the program.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;sensapi=n,b"
mkdir -p "$shots"
unset DISPLAY
show_program "$program" '^Reachlet$' 60
if [ -z "$window" ]; then
  echo "Reachlet showed no window within 60 seconds" >&2
  exit 1
fi
sleep 2
import -window root "$shots/screenshot.png"

# The window with a 10-pixel margin of the black display around it.
eval "$(xdotool getwindowgeometry --shell "$window")"
crop="$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))"
# A point of a control, in pixels from the window's top left corner.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# The focus starts in the address field; Tab selects the interval's text.
xdotool type --delay 50 "127.0.0.1"
xdotool key Tab
xdotool type --delay 50 "10"
click 133 154   # Start
# Three probes, ten seconds apart, after the start line.
sleep 36
xdotool mousemove --window "$window" 203 154 mousedown 1   # Stop, held
sleep 1
import -window root -crop "$crop" +repage "$shots/monitor-running.png"
xdotool mouseup 1
xdotool mousemove --window "$window" 300 360   # off the buttons, into the log
sleep 2
import -window root -crop "$crop" +repage "$shots/monitor-stopped.png"
kill "$program_pid" 2>/dev/null || true
echo "screenshots saved in $shots"
