#!/usr/bin/env bash
# Builds a small outside project against the runtime both ways a project
# takes it: the package that `cmake --install` makes, and add_subdirectory
# of the checkout's runtime folder. Fails when either fails, or when the
# installed headers hold anything of the runtime's internals. Needs the
# cross compiler, not Wine; where there is none it reports a skip (77).
#   outside_project_check.sh <checkout> <build tree>
set -euo pipefail
checkout=$1
build=$2
if ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
  echo "SKIP: no i686-w64-mingw32 cross compiler here"
  exit 77
fi
work=$build/outside_project
rm -rf "$work"
mkdir -p "$work"
toolchain=$checkout/cmake/toolchain-i686-w64-mingw32.cmake
status=0

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for internal in control/command_table.h control/subclass.h window/window_proc.h dialog/dialog_proc.h; do
  if [ -e "$prefix/include/runtime/$internal" ]; then
    echo "FAIL: internal header runtime/$internal is installed"
    status=1
  fi
done
if [ ! -f "$prefix/include/runtime/runtime.h" ]; then
  echo "FAIL: runtime/runtime.h is not installed"
  status=1
fi

build_way() {
  local way=$1
  shift
  if cmake -S "$checkout/tests/package/outside" -B "$work/$way" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" "$@" >"$work/$way.log" 2>&1 &&
     cmake --build "$work/$way" >>"$work/$way.log" 2>&1 &&
     [ -f "$work/$way/outside_program.exe" ]; then
    echo "PASS: $way"
  else
    tail -n 30 "$work/$way.log"
    echo "FAIL: $way"
    status=1
  fi
}
build_way package -DCMAKE_PREFIX_PATH="$prefix"
build_way subdirectory -DREACHLET_CHECKOUT="$checkout"
exit $status
