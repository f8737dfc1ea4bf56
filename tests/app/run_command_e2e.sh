#!/usr/bin/env bash
# The README's run command end to end: starts `bash scripts/run.sh` on the
# display of the test run, lets run_command_driver.exe type 127.0.0.1 into
# the real Reachlet.exe it starts and press Start, and checks the lines that
# the sensapi.dll built beside the program made it log.
#   run_command_e2e.sh <build dir> loopback|isolated
# "isolated" runs in a network namespace of its own, where loopback is down.
# Wine sends ICMP from its device service and opens sockets in wineserver, so
# every Wine process of that run, run.sh's and the driver's, has to talk to a
# wineserver started inside the namespace: a prefix used for nothing else is
# bind-mounted over the run prefix, and its other directory gives it another
# wineserver socket while run.sh stays as it is.
set -uo pipefail

fail() { echo "FAIL: $*"; exit 1; }

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$root/scripts/lane.sh"
if [ "${1:-}" = "--inside" ]; then
  shift
  build_dir=$1
  case_name=$2
else
  build_dir=$(cd "$1" && pwd -P) || fail "no build dir $1"
  case_name=$2
  if [ "$case_name" = isolated ]; then
    exec unshare --net --mount bash "$0" --inside "$build_dir" "$case_name"
  fi
fi

run_prefix="$build_dir/wineprefix-run"
driver="$build_dir/children/run_command_driver.exe"
[ -f "$driver" ] || fail "no $driver"
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY; run under scripts/test.sh"

case "$case_name" in
  loopback)
    expected="Contact successful at "; unexpected="No response at " ;;
  isolated)
    expected="No response at "; unexpected="Contact successful at "
    ip -o link show lo | grep -q '<[^>]*UP' && fail "loopback is up in the new namespace"
    mkdir -p "$run_prefix" "$build_dir/wineprefix-run-isolated"
    mount --bind "$build_dir/wineprefix-run-isolated" "$run_prefix" || fail "cannot bind the isolated prefix" ;;
  *)
    fail "unknown case $case_name" ;;
esac

export WINEPREFIX="$run_prefix"
export WINEARCH=win32 WINEDEBUG=-all
# run.sh builds this tree, not the default one.
if [ "$build_dir" = "$root/build/mingw" ]; then
  unset REACHLET_BUILD_DIR
else
  export REACHLET_BUILD_DIR="$build_dir"
fi

scratch=$(mktemp -d)
run_pid=""
cleanup() {
  [ -n "$run_pid" ] && kill -- "-$run_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "$run_pid" ] && wait "$run_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# A Reachlet left by an interrupted run would be the window the driver finds,
# and in the namespace a server left from earlier sits in another network.
wineserver -k >/dev/null 2>&1

# A session of its own, so that the set-up and build run.sh starts end with
# it. Output through files: Wine's services inherit them and would hold a
# pipe open.
setsid bash "$root/scripts/run.sh" >"$scratch/run.out" 2>&1 </dev/null &
run_pid=$!

# run.sh execs wine on the program once it has set up, built and prepared
# the prefix; the first preparation of a prefix takes up to a minute.
started() { tr '\0' ' ' <"/proc/$run_pid/cmdline" 2>/dev/null | grep -qi 'reachlet\.exe'; }
for _ in $(seq 480); do
  started && break
  kill -0 "$run_pid" 2>/dev/null || { cat "$scratch/run.out"; fail "run.sh ended before starting Reachlet"; }
  sleep 0.5
done
started || fail "run.sh did not start Reachlet within 240 s"

wine "$driver" 127.0.0.1 2 >"$scratch/driver.out" 2>&1 </dev/null
driver_status=$?
tr -d '\r' <"$scratch/driver.out" >"$scratch/seen"
cat "$scratch/seen"
[ "$driver_status" = 0 ] || { cat "$scratch/run.out"; fail "driver returned $driver_status"; }

grep -qi '^sensapi=.*\\app\\sensapi\.dll$' "$scratch/seen" || fail "Reachlet did not load the sensapi.dll built beside it"
grep -qx 'caption=Reachlet - Started - 127\.0\.0\.1' "$scratch/seen" || fail "Start did not start the monitor"
[ "$(grep -c "^$expected[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$" "$scratch/seen")" -ge 2 ] || fail "fewer than two \"$expected\" lines"
grep -q "^$unexpected" "$scratch/seen" && fail "a \"$unexpected\" line"
grep -qx 'exit=0' "$scratch/seen" || fail "Reachlet did not end with code 0"

# Exit ends the program, and with it the process run.sh became.
for _ in $(seq 100); do
  kill -0 "$run_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$run_pid" 2>/dev/null && fail "run.sh did not end with Reachlet"
wait "$run_pid"
run_status=$?
run_pid=""
[ "$run_status" = 0 ] || { cat "$scratch/run.out"; fail "run.sh exited with $run_status"; }
echo "PASS: $case_name"
