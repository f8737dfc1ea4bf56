#!/usr/bin/env bash
# Fails when a file of the runtime includes a header of a layer above its
# own. Layers, lowest first: core (no windows), window, resource, control,
# dialog, program (start and end); runtime.h, the header for programs, is
# above them all and nothing inside the runtime includes it.
#   layers_check.sh <runtime folder>
set -euo pipefail
runtime=$1

rank() {
  case $1 in
    core) echo 0 ;; window) echo 1 ;; resource) echo 2 ;; control) echo 3 ;;
    dialog) echo 4 ;; program) echo 5 ;; runtime.h) echo 6 ;; *) echo "" ;;
  esac
}

faults=0
files=0
while IFS= read -r file; do
  files=$((files + 1))
  relative=${file#"$runtime"/}
  layer=${relative%%/*}
  own=$(rank "$layer")
  if [ -z "$own" ]; then
    echo "FAIL: $relative is in no layer"
    faults=$((faults + 1))
    continue
  fi
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    to=$(rank "${target%%/*}")
    if [ -z "$to" ] || [ "$to" -gt "$own" ]; then
      echo "FAIL: $relative includes runtime/$target, above its layer"
      faults=$((faults + 1))
    fi
  done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"runtime/\([^"]*\)".*|\1|p' "$file")
  # A header named without its folder would hide its layer.
  if grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^r"]|r[^u]|ru[^n])' "$file"; then
    echo "FAIL: $relative includes a runtime header without its runtime/ path"
    faults=$((faults + 1))
  fi
done < <(find "$runtime" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$files" -eq 0 ]; then
  echo "FAIL: no sources under $runtime"
  exit 1
fi
if [ "$faults" -ne 0 ]; then
  echo "FAIL: $faults faults in $files files"
  exit 1
fi
echo "PASS: layers ($files files)"
