#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. scripts/test.sh exports
# WINEPREFIX and DISPLAY. Output goes through a file, not a pipe: Wine's
# background services inherit the program's standard output and would hold
# a pipe open after the program ends. The console's CR LF line ends are
# folded to LF so that CTest and GoogleTest's discovery read them as native.
#
# A fault in the program itself never kills the loader: Wine turns it into
# an exception and the program ends with the exception's code. Under the
# virtual machine's emulation the loader itself has been seen dying of
# SIGSEGV once, after a test had printed that it passed; such a run says
# nothing about the program, so it runs once more and that run's result
# stands. Both runs' output is shown.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
source "$(dirname "${BASH_SOURCE[0]}")/lane.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
run() {
  wine "$@" >"$out" 2>&1 </dev/null
  status=$?
  tr -d '\r' <"$out"
}
run "$@"
if [ "$status" -gt 128 ] && [ "$status" -lt 160 ]; then
  echo "wine-exec: the Wine loader died of signal $((status - 128)); running the program once more"
  run "$@"
fi
exit $status
