#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. scripts/test.sh exports
# WINEPREFIX and DISPLAY. Output goes through a file, not a pipe: Wine's
# background services inherit the program's standard output and would hold
# a pipe open after the program ends. The console's CR LF line ends are
# folded to LF so that CTest and GoogleTest's discovery read them as native.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
status=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $status
