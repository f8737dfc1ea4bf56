# Sourced by the run and test scripts: a private Wine prefix in the build
# tree, a private virtual display, and one wineserver, each stopped by PID.
# REACHLET_BUILD_DIR picks another build tree (for working on two changes at once).
build_dir="${REACHLET_BUILD_DIR:-$root/build/mingw}"
xvfb_pid=""
wineserver_pid=""

export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Configures and builds the tree; $1 multiplies every test's time limit
# (1 when left out). Inside the VM the host has built it already.
build_project() {
  [ -z "${REACHLET_IN_VM:-}" ] || return 0
  local scale="-DREACHLET_TEST_TIME_SCALE=${1:-1}"
  mkdir -p "$build_dir"
  if [ -z "${REACHLET_BUILD_DIR:-}" ]; then
    cmake --preset mingw "$scale" >"$build_dir/configure.log" 2>&1 || { cat "$build_dir/configure.log"; return 1; }
    cmake --build --preset mingw
  else
    cmake -S "$root" -B "$build_dir" --toolchain "$root/cmake/toolchain-i686-w64-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo "$scale" >"$build_dir/configure.log" 2>&1 \
      || { cat "$build_dir/configure.log"; return 1; }
    cmake --build "$build_dir" -j2
  fi
}

# Runs CTest (arguments go to it), then reports what the run showed.
run_tests() {
  local log="$build_dir/ctest-output.log" status
  if [ -z "${REACHLET_BUILD_DIR:-}" ]; then
    ctest --preset mingw "$@" | tee "$log"
  else
    ctest --test-dir "$build_dir" -j2 --output-on-failure --timeout 120 "$@" | tee "$log"
  fi
  status=${PIPESTATUS[0]}
  report_run "$log" "$build_dir/Testing/Temporary/LastTest.log"
  return "$status"
}

# After CTest's own summary: the ten slowest entries, so that the next slow
# test is seen when it arrives; how many GoogleTest cases ran and which
# failed, by entry (an entry runs a whole fixture); and one closing line.
report_run() {
  local output=$1 details=$2
  echo
  echo "The ten slowest entries:"
  sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .* \([0-9.]*\) sec$/\2 \1/p' "$output" |
    sort -rn | head -n 10 | awk '{ printf "  %8.1f s  %s\n", $1, $2 }'
  [ -f "$details" ] || return 0
  awk '/^[0-9]+\/[0-9]+ Test: / { entry = $3 }
       /^run-cases: [0-9]+ cases run/ { cases += $2 }
       /^FAILED CASE: / { failed[++n] = entry ": " substr($0, 14) }
       END {
         printf "GoogleTest cases run: %d, failed: %d\n", cases, n
         for (i = 1; i <= n; i++) print "  " failed[i]
       }' "$details"
  sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 \1/p' "$output" |
    awk '{ printf "entries: %d passed, %d failed\n", $1 - $2, $2 }'
}

# Starts Xvfb on the first free display number and exports DISPLAY.
start_virtual_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 30 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

# Makes the prefix WINEPREFIX unless it is ready. Where REACHLET_PREFIX_SEED
# names a ready prefix (the test command's own), it is copied: a minute of
# wineboot under emulation becomes a second. A copy has its own wineserver,
# since Wine finds the server by the prefix folder's inode.
make_prefix() {
  [ ! -f "$WINEPREFIX/.reachlet-ready" ] || return 0
  mkdir -p "$WINEPREFIX"
  local seed="${REACHLET_PREFIX_SEED:-}"
  if [ -n "$seed" ] && [ -f "$seed/.reachlet-ready" ] && [ "$seed" != "$WINEPREFIX" ]; then
    cp -a "$seed/." "$WINEPREFIX/"
    return 0
  fi
  if ! wineboot -i >"$WINEPREFIX.log" 2>&1; then
    tail -n 20 "$WINEPREFIX.log"
    echo "Wine could not make the prefix $WINEPREFIX (wineboot failed; its output is in $WINEPREFIX.log)"
    return 1
  fi
  wineserver -w
  touch "$WINEPREFIX/.reachlet-ready"
}

# Initialises the prefix once; later runs reuse it.
prepare_prefix() {
  export WINEPREFIX="$1"
  make_prefix || return 1
  # With no window manager on the virtual display nobody would draw the
  # captions of managed windows; unmanaged, Wine draws its own frames.
  if [ ! -f "$WINEPREFIX/.reachlet-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.reachlet-unmanaged"
  fi
  # Wine draws the caption buttons with Marlett. Debian's fonts-wine keeps it
  # in /usr/share/wine/fonts, which this Wine never scans (seen with
  # WINEDEBUG=+font: a prefix asks for Marlett and gets DejaVu Sans, so the
  # buttons read "0 1 r"); the prefix's own Fonts folder is always scanned.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

start_wineserver() {
  wineserver -f -p >/dev/null 2>&1 &
  wineserver_pid=$!
}

stop_wine_and_display() {
  if [ -n "$wineserver_pid" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$wineserver_pid" 2>/dev/null || true
    wait "$wineserver_pid" 2>/dev/null || true
    wineserver_pid=""
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  fi
}

# Runs a Windows program in the background on a virtual display of its own,
# with the run prefix and one wineserver, all stopped when the calling script
# exits, and waits up to $3 seconds for a visible window whose title matches
# $2. Sets program_pid, and window (empty when none came).
show_program() {
  trap stop_wine_and_display EXIT
  start_virtual_display
  prepare_prefix "$build_dir/wineprefix-run"
  start_wineserver
  wine "$1" &
  program_pid=$!
  window=$(timeout "$3" xdotool search --sync --onlyvisible --name "$2" 2>/dev/null | head -n 1 || true)
}
