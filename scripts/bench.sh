#!/usr/bin/env bash
# Sets up if needed, builds, runs the benchmark programs (bench/) and the
# probe's timings under Wine, and prints one table: for each row our figure,
# the baseline measured in the same run on the same machine, and the ratio.
# Each figure is the median of repeated runs, with min and max beside it.
# The machine may be shared and noisy: compare ratios of one run only.
#   bash scripts/bench.sh [--quick] [bench_<name> ...]
# Named programs run alone, without the probe's and the exe's rows.
# --quick runs every row for about a second; it keeps the benchmarks building
# and running and says nothing about speed. CTest runs it with --in-test:
# no set-up or build, and the display, prefix and wineserver of the test run.
# Where the kernel runs no 32-bit code (or with REACHLET_VM=1) everything
# runs inside the virtual machine (scripts/vm-env.sh), under emulation.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

quick="" in_test="" only=()
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    --in-test) in_test=1 ;;
    bench_*) only+=("$arg") ;;
    *) echo "usage: bash scripts/bench.sh [--quick] [bench_<name> ...]"; exit 2 ;;
  esac
done

source scripts/wine-env.sh
source scripts/vm-env.sh
[ -z "$in_test" ] || source scripts/lane.sh
# What the table's header says about the machine: written by the host, read
# inside the virtual machine too (the build tree goes in with it).
host_file="$build_dir/bench-host.txt"

describe_host() {
  local cpu
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
  echo "$(nproc) x ${cpu:-unknown processor}, $(uname -sr), load average $(cut -d' ' -f1-3 /proc/loadavg)"
}

if [ -z "$in_test" ]; then
  if reason=$(vm_reason); then
    echo "The benchmarks run in a virtual machine: $reason."
    bash scripts/setup.sh
    build_project "$vm_time_scale"
    echo "host: $(describe_host)" >"$host_file"
    vm_prepare_root
    trap vm_cleanup EXIT
    status=0
    vm_run scripts/bench.sh "$@" || status=$?
    exit $status
  fi
  bash scripts/setup.sh
  build_project
  [ -n "${REACHLET_IN_VM:-}" ] || echo "host: $(describe_host)" >"$host_file"
fi

bench_dir="$build_dir/bench"
scratch=$(mktemp -d)
figures="$scratch/figures"
: >"$figures"
failed=""
if [ -n "$in_test" ]; then
  trap 'rm -rf "$scratch"' EXIT
  [ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] ||
    { echo "bench: --in-test runs under scripts/test.sh, with its DISPLAY and WINEPREFIX"; exit 1; }
else
  trap 'stop_wine_and_display; rm -rf "$scratch"' EXIT
  start_virtual_display
  prepare_prefix "$build_dir/wineprefix-bench"
  start_wineserver
fi

# Per program: a program that hangs fails alone, well inside the quick
# test's own limit, and the other rows still run.
if [ -n "$quick" ]; then limit=60; else limit=5400; fi
[ -z "${REACHLET_IN_VM:-}" ] || limit=$((limit * vm_time_scale))

# The programs' own scale: under the virtual machine's emulation a program
# that would take hours (the log's 100,000 lines) stops sooner and says so.
scale=""
if [ -n "$quick" ]; then scale=--quick; elif [ -n "${REACHLET_IN_VM:-}" ]; then scale=--emulated; fi

# Runs one benchmark program and keeps its figure, row and note lines
# (bench/bench_stats.h). Output goes through a file: Wine's services
# inherit it and would hold a pipe open.
run_bench() {
  local program=$1 out="$scratch/$1.out"
  echo "bench: $program"
  if ! timeout "$limit" wine "$bench_dir/$program.exe" $scale >"$out" 2>&1 </dev/null; then
    echo "bench: $program failed:"
    tr -d '\r' <"$out" | tail -n 20
    failed=1
  fi
  tr -d '\r' <"$out" | grep -E '^(figure|row|note|error) ' >>"$figures" || true
  # As they come, so that a run cut short still shows what it measured.
  tr -d '\r' <"$out" | grep -E '^(figure|error) ' | sed 's/^/  /' || true
}

# Reads numbers (one a line) and writes the figure line bench_stats.h writes.
figure_of() {
  local key=$1 unit=$2
  sort -g | awk -v key="$key" -v unit="$unit" '{ v[NR] = $1 } END {
    if (NR == 0) exit
    median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "figure %s %s %.6g %.6g %.6g %d\n", key, unit, median, v[1], v[NR], NR }' >>"$figures"
}

now_us() { echo $(($(date +%s%N) / 1000)); }
wall_ms() {
  local start
  start=$(now_us)
  "$@" >/dev/null 2>&1 || true
  awk -v us=$(($(now_us) - start)) 'BEGIN { print us / 1000 }'
}

# The probe: the sensapi.dll built here, asked about 127.0.0.1, against ping
# as a whole process; then hosts that cannot be reached, each in a network
# namespace of its own (tests/sensapi/isolated_probe.sh), against ping in a
# namespace made the same way.
bench_probe() {
  local calls=20 repeats=3 cases=(loopback-down-ipv4 echo-unanswered name-does-not-resolve resolver-never-answers)
  [ -z "$quick" ] || { calls=3; repeats=1; cases=(loopback-down-ipv4); }
  local probe="$build_dir/children/sensapi_probe.exe" out="$scratch/probe.out"
  echo "bench: probe"
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;sensapi=n,b" timeout "$limit" wine "$probe" a 127.0.0.1 $((calls + 1)) \
    >"$out" 2>&1 </dev/null || true
  # The first call loads the network stack; the rows are for the later ones.
  tr -d '\r' <"$out" | sed -n 's/^result=.* us=\([0-9]*\).*/\1/p' | tail -n +2 |
    awk '{ print $1 / 1000 }' | figure_of probe.reach.ours ms
  grep -q '^result=1 ' <(tr -d '\r' <"$out") || { echo "bench: the probe did not reach 127.0.0.1:"; cat "$out"; failed=1; }
  for _ in $(seq "$calls"); do wall_ms ping -c 1 -W 1 127.0.0.1; done | figure_of probe.reach.ping ms

  if [ "$(id -u)" != 0 ] || ! unshare --net true 2>/dev/null; then
    echo "note the probe's unreachable rows need network namespaces (root); left out" >>"$figures"
    return
  fi
  local silent_dns='ip link set lo up; echo "nameserver 127.0.0.1" >'"$scratch"'/resolv.conf;
    mount --bind '"$scratch"'/resolv.conf /etc/resolv.conf;
    perl -MIO::Socket::INET -e '"'"'my $s = IO::Socket::INET->new(LocalAddr => "127.0.0.1:53", Proto => "udp"); sleep 30'"'"' &
    sleep 0.5;'
  local case_name setup target line
  for case_name in "${cases[@]}"; do
    case "$case_name" in
      loopback-down-ipv4) setup=""; target=127.0.0.1 ;;
      echo-unanswered) setup='ip link set lo up; echo 1 >/proc/sys/net/ipv4/icmp_echo_ignore_all;'; target=127.0.0.1 ;;
      name-does-not-resolve) setup=""; target=reachlet-probe.invalid ;;
      resolver-never-answers) setup=$silent_dns; target=reachlet-probe.invalid ;;
    esac
    for _ in $(seq "$repeats"); do
      line=$(bash tests/sensapi/isolated_probe.sh "$build_dir" "$case_name" | tr -d '\r' | grep '^result=' | head -n 1 || true)
      sed -n 's/^result=0 .* us=\([0-9]*\).*/\1/p' <<<"$line" | awk '{ print $1 / 1000 }' >>"$scratch/$case_name.ours"
      wall_ms unshare --net --mount bash -c "$setup timeout 20 ping -c 1 -W 1 $target" >>"$scratch/$case_name.ping"
    done
    figure_of "probe.$case_name.ours" ms <"$scratch/$case_name.ours"
    figure_of "probe.$case_name.ping" ms <"$scratch/$case_name.ping"
  done
}

# The files the programs read: bench_images loads these, bench_files writes
# its own text files beside them. They live in the scratch folder, reached
# through Wine's drive Z:, the whole Unix file system.
make_bench_data() {
  local data="$scratch/data"
  mkdir -p "$data"
  convert -size 256x256 gradient:'rgb(20,40,200)-rgb(250,180,30)' \
    -fill 'rgb(230,60,30)' -draw 'circle 128,128 128,60' -type TrueColor BMP3:"$data/bench.bmp"
  convert -size 256x256 gradient:'rgb(30,200,40)-rgb(10,20,120)' \
    -fill 'rgb(250,250,10)' -draw 'rectangle 64,64 191,191' \
    -define icon:auto-resize=48,32,16 "$data/bench.ico"
  convert -seed 7 -size 640x480 plasma:'rgb(10,20,120)-rgb(250,220,180)' -quality 85 "$data/bench.jpg"
  [ -d "$WINEPREFIX/dosdevices/z:" ] || { echo "bench: the Wine prefix has no drive Z:"; failed=1; }
  export REACHLET_BENCH_DATA="Z:${data//\//\\}"
}
make_bench_data

# The programs in the order of the table; any other bench/bench_*.cpp runs
# after them. A new row is one more bench/bench_<name>.cpp that prints its
# figures and rows; nothing here changes. A build that lacks one of these
# says so under the table.
planned=(bench_startup bench_log bench_strings bench_routing bench_handlers bench_files bench_images)
declare -A pending_row=([bench_handlers]="handler tables" [bench_files]="file lines and file numbers"
  [bench_images]="images")
programs=()
for program in "${planned[@]}"; do
  if [ -f "$bench_dir/$program.exe" ]; then
    programs+=("$program")
  else
    echo "note ${pending_row[$program]:-$program}: no $program.exe in this build" \
      >>"$figures"
  fi
done
for exe in "$bench_dir"/bench_*.exe; do
  program=$(basename "$exe" .exe)
  [[ " ${programs[*]} " == *" $program "* ]] || programs+=("$program")
done
[ ${#only[@]} -eq 0 ] || programs=("${only[@]}")
for program in "${programs[@]}"; do run_bench "$program"; done

[ ${#only[@]} -gt 0 ] || bench_probe
cat >>"$figures" <<'ROWS'
row probe 127.0.0.1, one call / ping as a process|probe.reach.ours|probe.reach.ping|report
row probe unreachable: loopback down|probe.loopback-down-ipv4.ours|probe.loopback-down-ipv4.ping|report
row probe unreachable: echo requests ignored|probe.echo-unanswered.ours|probe.echo-unanswered.ping|report
row probe unreachable: a name, resolver out of reach|probe.name-does-not-resolve.ours|probe.name-does-not-resolve.ping|report
row probe unreachable: a name, resolver never answers|probe.resolver-never-answers.ours|probe.resolver-never-answers.ping|report
row exe, Reachlet.exe's size as shipped (stripped)|exe.size|-|<=100
ROWS
kib() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1024 }'; }
echo "figure exe.size KiB $(kib "$bench_dir/Reachlet-stripped.exe") - - 1" >>"$figures"
echo "note exe: the build's Reachlet.exe, with its debugging information, is $(kib "$build_dir/app/Reachlet.exe") KiB; what ships is the stripped copy" >>"$figures"

if [ -n "${REACHLET_IN_VM:-}" ]; then
  where="inside the project's qemu virtual machine (software emulation, $(nproc) virtual processors, Wine $(wine --version 2>/dev/null | tr -d '\r'))"
else
  where="on this host, Wine $(wine --version 2>/dev/null | tr -d '\r') directly"
fi
echo
echo "Reachlet benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')${quick:+, quick mode (few short runs: says nothing about speed)}"
echo "Ran $where."
[ ! -f "$host_file" ] || echo "$(sed 's/^host: /Host: /' "$host_file")."
[ -z "${REACHLET_IN_VM:-}" ] || echo "Machine during the run: load average $(cut -d' ' -f1-3 /proc/loadavg)."
echo "Each cell: median (min-max) of the runs; ratio = ours / baseline, in the row's unit."
echo
# One pass gathers the figures, rows and notes; the table comes at the end,
# rows in the order they were printed, a row without our figure left out.
awk '
  function cell(key) {
    if (!(key in median)) return "-"
    if (minimum[key] == "-") return number(median[key]) " " unit[key]
    return number(median[key]) " (" number(minimum[key]) "-" number(maximum[key]) ") " unit[key]
  }
  function number(v) {
    v += 0
    if (v >= 100 || v == int(v)) return sprintf("%.0f", v)
    if (v >= 10) return sprintf("%.1f", v)
    if (v >= 1) return sprintf("%.2f", v)
    return sprintf("%.3g", v)
  }
  $1 == "figure" { median[$2] = $4; minimum[$2] = $5; maximum[$2] = $6; unit[$2] = $3 }
  $1 == "row" { rows[++nrows] = substr($0, 5) }
  $1 == "note" || $1 == "error" { notes[++nnotes] = ($1 == "error" ? "error: " : "") substr($0, length($1) + 2) }
  END {
    print "| row | ours | baseline | ratio | goal | met |"
    print "|---|---|---|---|---|---|"
    for (i = 1; i <= nrows; ++i) {
      split(rows[i], f, "|")
      label = f[1]; ours = f[2]; base = f[3]; goal = f[4]
      if (!(ours in median)) continue
      ratio = "-"; met = "-"; goalText = "report"
      if (base in median && median[base] + 0 > 0) {
        r = median[ours] / median[base]
        ratio = sprintf("%.2fx", r)
        if (goal ~ /^<=/) { limit = substr(goal, 3) + 0; goalText = "<= " substr(goal, 3) "x"; met = r <= limit ? "yes" : "NO" }
        if (goal ~ /^>=/) { limit = substr(goal, 3) + 0; goalText = ">= " substr(goal, 3) "x"; met = r >= limit ? "yes" : "NO" }
      } else if (goal ~ /^<=/) {
        limit = substr(goal, 3) + 0; goalText = "<= " substr(goal, 3) " " unit[ours]; met = median[ours] <= limit ? "yes" : "NO"
      } else if (goal ~ /^>=/) {
        limit = substr(goal, 3) + 0; goalText = ">= " substr(goal, 3) " " unit[ours]; met = median[ours] >= limit ? "yes" : "NO"
      }
      printf "| %s | %s | %s | %s | %s | %s |\n", label, cell(ours), cell(base), ratio, goalText, met
    }
    for (i = 1; i <= nnotes; ++i) print (i == 1 ? "\n" : "") "- " notes[i]
  }
' "$figures"
echo

if [ -n "$failed" ]; then
  echo "bench: some benchmarks failed (above)"
  exit 1
fi
echo "bench: every row ran"
