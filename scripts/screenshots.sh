#!/usr/bin/env bash
# Makes the README's screenshots in docs/: the main window as it starts
# (screenshot.png, the whole virtual display), then, cut to the window,
# monitoring 127.0.0.1 every 10 seconds with Stop held down
# (monitor-running.png) and after Stop (monitor-stopped.png); with the
# argument "fleet", only Reachlet Fleet watching five hosts, two of them
# down, with one host's window open (fleet.png). Runs on a
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
[ "${1:-}" != fleet ] || names=(fleet.png)

if reason=$(vm_reason); then
  echo "The screenshots are made in a virtual machine: $reason."
  bash scripts/setup.sh
  build_project
  vm_prepare_root
  trap vm_cleanup EXIT
  vm_run scripts/screenshots.sh "$@" || { echo "the screenshot run in the virtual machine failed (status $?)"; exit 1; }
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

if [ "${1:-}" = fleet ]; then
  # Three loopback hosts answer; 192.0.2.0/24 is kept for documentation and
  # never reached.
  list="$shots/fleet-hosts.txt"
  printf '%s\r\n' "127.0.0.1 10 0" "127.0.0.2 10 0" "127.0.0.3 10 0" "192.0.2.1 10 0" "192.0.2.2 10 0" >"$list"
  trap stop_wine_and_display EXIT
  start_virtual_display
  prepare_prefix "$build_dir/wineprefix-run"
  start_wineserver
  wine "$build_dir/app/ReachletFleet.exe" "$(winepath -w "$list")" &
  program_pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Reachlet Fleet' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] || { echo "Reachlet Fleet showed no window within 60 seconds" >&2; exit 1; }
  sleep "${FLEET_SHOT_WAIT:-35}"
  import -window root "$shots/fleet-overview.png"
  # The fourth row: the first host that is down. Then Window > Tile, so
  # that the overview and the host's window show side by side.
  xdotool mousemove --window "$window" 60 160 click --repeat 2 --delay 80 1
  sleep 8
  xdotool key --window "$window" alt+w
  sleep 1
  xdotool key t
  sleep 4
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))" +repage "$shots/fleet.png"
  kill "$program_pid" 2>/dev/null || true
  echo "screenshots saved in $shots"
  exit 0
fi
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
