#!/usr/bin/env bash
# Runs sensapi_probe.exe under Wine inside a network namespace of its own,
# where nothing can leave the machine, and checks what it printed.
#   isolated_probe.sh <build dir> <case>
# Wine sends ICMP from its device service and opens sockets in wineserver,
# so a Wine program placed alone in a namespace still probes from the
# namespace of the wineserver it talks to. Each run therefore starts a
# wineserver of its own inside the namespace, on a prefix used for nothing
# else, so that every Wine process of the run sits behind the same walls.
set -uo pipefail

answer_timeout_ms=1000    # kAnswerTimeoutMs
resolve_timeout_ms=1500   # kResolveTimeoutMs
max_resolver_threads=32   # kMaxResolverThreads
slack_ms=1000             # start-up of the call and a busy machine

fail() { echo "FAIL: $*"; exit 1; }

if [ "${1:-}" != "--inside" ]; then
  build_dir=$(cd "$1" && pwd)
  case_name=$2
  prefix="$build_dir/wineprefix-isolated"
  mkdir -p "$prefix"
  # One run at a time per prefix, tests and benchmark alike.
  exec flock "$prefix.lock" unshare --net --mount bash "$0" --inside "$build_dir" "$case_name"
fi

root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"   # make_prefix
build_dir=$2
case_name=$3
probe="$build_dir/children/sensapi_probe.exe"
[ -f "$probe" ] || fail "no $probe"
[ -f "$build_dir/app/sensapi.dll" ] || fail "no $build_dir/app/sensapi.dll"

export WINEPREFIX="$build_dir/wineprefix-isolated"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;sensapi=n,b"
scratch=$(mktemp -d)
listener_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$listener_pid" ] && kill "$listener_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# A server left from an earlier run would sit in that run's namespace.
wineserver -k >/dev/null 2>&1
make_prefix >/dev/null || fail "no Wine prefix"

loopback_up() { ip link set lo up || fail "cannot raise loopback"; }
# The kernel of this namespace stops answering echo requests.
ignore_echo() { echo 1 >/proc/sys/net/ipv4/icmp_echo_ignore_all || fail "cannot silence echo"; }
# A resolver on loopback that reads queries and never answers; options for
# the system resolver may follow (its own retries, which a look-up waits out).
silent_resolver() {
  printf 'nameserver 127.0.0.1\n%s\n' "${1:-}" >"$scratch/resolv.conf"
  mount --bind "$scratch/resolv.conf" /etc/resolv.conf || fail "cannot replace resolv.conf"
  perl -MIO::Socket::INET -e \
    'my $s = IO::Socket::INET->new(LocalAddr => "127.0.0.1:53", Proto => "udp") or die "bind: $!"; sleep 600' &
  listener_pid=$!
  for _ in $(seq 50); do
    grep -q ':0035 ' /proc/net/udp && return
    sleep 0.1
  done
  fail "resolver did not start"
}

without_raw_sockets=""
run_probe() {
  # Output through a file: Wine's services inherit it and hold a pipe open.
  $without_raw_sockets wine "$probe" "$@" >"$scratch/out" 2>&1 </dev/null
  wineserver -k >/dev/null 2>&1
  tr -d '\r' <"$scratch/out" >"$scratch/answer"
  cat "$scratch/answer"
  grep -qx 'native=1 exports=1' "$scratch/answer" || fail "the built sensapi.dll was not the one loaded"
  line=$(grep '^result=' "$scratch/answer" | tail -n 1)
  [ -n "$line" ] || fail "no answer"
}
field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$line"; }
expect() { [ "$(field "$1")" = "$2" ] || fail "$1 is $(field "$1"), expected $2"; }
expect_one_of() {
  local value; value=$(field "$1"); shift
  for v in "$@"; do [ "$value" = "$v" ] && return; done
  fail "error $value is none of $*"
}
expect_ms_at_most() { [ "$(field ms)" -le "$1" ] || fail "took $(field ms) ms, more than $1"; }
expect_ms_at_least() { [ "$(field ms)" -ge "$1" ] || fail "took $(field ms) ms, less than $1"; }

untouched=2779096485   # 0xA5A5A5A5, what the probe puts in a QOCINFO
case "$case_name" in
  loopback-up)
    # The contrast for every other case: the harness itself can reach loopback.
    loopback_up
    run_probe a 127.0.0.1
    expect result 1; expect error 0 ;;
  loopback-down-ipv4)
    run_probe a 127.0.0.1
    expect result 0; [ "$(field error)" != 0 ] || fail "no last error"
    expect_ms_at_most $((answer_timeout_ms + slack_ms)) ;;
  loopback-down-ipv6)
    run_probe a ::1
    expect result 0; [ "$(field error)" != 0 ] || fail "no last error"
    expect_ms_at_most $((answer_timeout_ms + slack_ms)) ;;
  loopback-down-localhost)
    run_probe a localhost
    expect result 0; [ "$(field error)" != 0 ] || fail "no last error"
    expect_ms_at_most $((resolve_timeout_ms + answer_timeout_ms + slack_ms)) ;;
  name-does-not-resolve)
    # WSAHOST_NOT_FOUND, WSATRY_AGAIN or WSANO_DATA: the resolver is out of reach.
    run_probe a reachlet-probe.invalid
    expect result 0; expect_one_of error 11001 11002 11004
    expect_ms_at_most $((resolve_timeout_ms + slack_ms)) ;;
  quality-left-alone)
    run_probe qoc 127.0.0.1
    expect result 0
    expect qoc "16,$untouched,$untouched,$untouched" ;;
  echo-unanswered)
    # IP_REQ_TIMED_OUT after the whole answer budget.
    loopback_up; ignore_echo
    run_probe a 127.0.0.1
    expect result 0; expect error 11010
    expect_ms_at_least $((answer_timeout_ms - 100))
    expect_ms_at_most $((answer_timeout_ms + slack_ms)) ;;
  resolver-never-answers)
    # ERROR_TIMEOUT once the resolution budget is spent; the process can
    # still end while the abandoned look-up goes on.
    loopback_up; silent_resolver
    run_probe a reachlet-probe.invalid 2
    expect result 0; expect error 1460
    expect_ms_at_least $((resolve_timeout_ms - 100))
    expect_ms_at_most $((resolve_timeout_ms + slack_ms))
    [ "$(grep -c '^result=0 error=1460 ' "$scratch/answer")" = 2 ] || fail "second call differs" ;;
  hung-resolver-flood)
    # 2,000 queries for a name whose look-ups hang for minutes, many threads
    # asking at once and loopback asked in between: each answer is the one a
    # lone query gets, and the abandoned look-ups keep no more threads nor
    # address space than the bound allows, however many queries come.
    loopback_up; silent_resolver "options timeout:30 attempts:5"
    run_probe flood reachlet-probe.invalid 127.0.0.1 2000
    grep -qx "result=0 error=1460 count=2000 ms=[0-9]* asked=reachlet-probe.invalid" "$scratch/answer" ||
      fail "the name was not always answered with ERROR_TIMEOUT"
    grep -qx "result=1 error=0 count=200 ms=[0-9]* asked=127.0.0.1" "$scratch/answer" ||
      fail "loopback was not always reached"
    [ "$(grep -c '^result=' "$scratch/answer")" = 2 ] || fail "more answers than destinations"
    line=$(grep 'asked=reachlet-probe.invalid$' "$scratch/answer")
    expect_ms_at_most $((resolve_timeout_ms + slack_ms))
    read -r threads0 kib0 < <(sed -n 's/^sample=0 threads=\([0-9]*\) reserved_kib=\([0-9]*\)$/\1 \2/p' "$scratch/answer")
    rounds=0 kib1=""
    while read -r threads kib; do
      rounds=$((rounds + 1))
      [ $((threads - threads0)) -le $((max_resolver_threads + 4)) ] || fail "round $rounds left $threads threads"
      # Under Wine a thread takes a stack of at least 1 MiB and as much again
      # of Wine's own (seen: 32 resolver threads, 75,776 KiB); with the
      # executable's 2 MiB stacks it would be some 3.3 MiB a thread.
      [ $((kib - kib0)) -le $(((max_resolver_threads + 4) * 2560)) ] || fail "round $rounds reserved $kib KiB"
      # Flat: no round holds more than the first.
      kib1=${kib1:-$kib}
      [ "$kib" -le "$kib1" ] || fail "round $rounds reserved $kib KiB, more than the first round's $kib1"
    done < <(sed -n 's/^sample=[1-9][0-9]* threads=\([0-9]*\) reserved_kib=\([0-9]*\)$/\1 \2/p' "$scratch/answer")
    [ "$rounds" = 8 ] || fail "$rounds rounds sampled" ;;
  handshake-without-icmp)
    # No raw sockets and no ping sockets (a new namespace allows none), and
    # echo ignored anyway: the answer can only come from the TCP handshake.
    loopback_up; ignore_echo
    without_raw_sockets="setpriv --bounding-set -net_raw --inh-caps -net_raw"
    run_probe a 127.0.0.1
    expect result 1; expect error 0 ;;
  network-not-alive)
    # Only loopback exists here, and it does not count.
    loopback_up
    run_probe alive
    expect result 0; expect error 0; expect flags 0 ;;
  *)
    fail "unknown case $case_name" ;;
esac
echo "PASS: $case_name"
