#!/usr/bin/env bash
# Prints how long the sensapi.dll built here takes to answer under Wine, next
# to ping for the same questions: a reachable loopback host, and hosts that
# cannot be reached, each of those inside a network namespace of its own
# (nothing leaves the machine). A benchmark, not a test: it checks nothing.
#   bash scripts/bench-sensapi.sh [calls]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
calls=${1:-20}

bash scripts/setup.sh
source scripts/wine-env.sh
build_project >/dev/null
probe="$build_dir/children/sensapi_probe.exe"
isolated="$root/tests/sensapi/isolated_probe.sh"
scratch=$(mktemp -d)

trap 'stop_wine_and_display; rm -rf "$scratch"' EXIT
prepare_prefix "$build_dir/wineprefix"
start_wineserver
export WINEDLLOVERRIDES="mscoree,mshtml=;sensapi=n,b"

now_us() { echo $(( $(date +%s%N) / 1000 )); }
# min / median / max of the numbers on standard input, in ms.
summary() {
  sort -n | awk '{ v[NR] = $1 } END {
    printf "min %.3f  median %.3f  max %.3f ms (%d runs)\n", v[1] / 1000, v[int((NR + 1) / 2)] / 1000, v[NR] / 1000, NR }'
}
probe_us() { tr -d '\r' | sed -n 's/^result=.* us=\([0-9]*\).*/\1/p'; }
wall_us() { local start; start=$(now_us); "$@" >/dev/null 2>&1 || true; echo $(( $(now_us) - start )); }

echo "== reachable: 127.0.0.1"
wine "$probe" a 127.0.0.1 "$calls" >"$scratch/reachable" 2>&1 </dev/null
probe_us <"$scratch/reachable" >"$scratch/calls"
printf '  IsDestinationReachableA, first call:   %.3f ms\n' "$(head -n 1 "$scratch/calls" | awk '{ print $1 / 1000 }')"
printf '  IsDestinationReachableA, later calls:  %s' "$(tail -n +2 "$scratch/calls" | summary)"
echo
for _ in $(seq "$calls"); do ping -c 1 -W 1 127.0.0.1 | sed -n 's|^rtt [^=]*= \([0-9.]*\)/.*|\1|p'; done |
  awk '{ print $1 * 1000 }' >"$scratch/rtt"
for _ in $(seq "$calls"); do wall_us ping -c 1 -W 1 127.0.0.1; done >"$scratch/ping"
printf '  ping -c 1 -W 1, round trip it reports: %s' "$(summary <"$scratch/rtt")"; echo
printf '  ping -c 1 -W 1, whole process:         %s' "$(summary <"$scratch/ping")"; echo
for _ in $(seq 3); do wall_us wine "$probe" a 127.0.0.1 1; done >"$scratch/process"
printf '  probe program under Wine, whole process: %s' "$(summary <"$scratch/process")"; echo

# Each case: the probe inside its namespace (isolated_probe.sh), then ping
# in a namespace set up the same way.
echo_off='ip link set lo up; echo 1 >/proc/sys/net/ipv4/icmp_echo_ignore_all;'
silent_dns='ip link set lo up; echo "nameserver 127.0.0.1" >'"$scratch"'/resolv.conf;
  mount --bind '"$scratch"'/resolv.conf /etc/resolv.conf;
  perl -MIO::Socket::INET -e '"'"'my $s = IO::Socket::INET->new(LocalAddr => "127.0.0.1:53", Proto => "udp"); sleep 30'"'"' &
  sleep 0.5;'
unreachable() {
  local title=$1 case_name=$2 setup=$3 target=$4
  echo "== unreachable: $title"
  local line
  line=$(bash "$isolated" "$build_dir" "$case_name" | tr -d '\r' | grep '^result=' | tail -n 1 || true)
  printf '  IsDestinationReachableA: %-34s %s\n' "${line%% ms=*}" "$(sed -n 's/.* us=\([0-9]*\).*/\1/p' <<<"$line" |
    awk '{ printf "%.3f ms", $1 / 1000 }')"
  local start end
  start=$(now_us)
  unshare --net --mount bash -c "$setup timeout 20 ping -c 1 -W 1 $target" >/dev/null 2>&1 || true
  end=$(now_us)
  printf '  ping -c 1 -W 1 %-24s %.3f ms (whole process)\n' "$target:" "$(awk -v us=$((end - start)) 'BEGIN { print us / 1000 }')"
}
unreachable "127.0.0.1, loopback down" loopback-down-ipv4 "" 127.0.0.1
unreachable "127.0.0.1, echo requests ignored" echo-unanswered "$echo_off" 127.0.0.1
unreachable "a name, resolver out of reach" name-does-not-resolve "" reachlet-probe.invalid
unreachable "a name, resolver never answers" resolver-never-answers "$silent_dns" reachlet-probe.invalid
