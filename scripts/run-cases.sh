#!/usr/bin/env bash
# Runs the GoogleTest cases of one CTest entry under Wine in as few processes
# as it can: usually one. Starting a Wine process is most of what a small
# case costs (two seconds and more under emulation), so an entry holds a
# whole fixture rather than a single case.
#   run-cases.sh <program.exe> <gtest filter> <seconds a case may take> [arguments...]
#
# A case that crashes the process or runs past its time is named as failed,
# and the cases after it run in a fresh process, so one bad case never hides
# the rest. Every failed case is named again in a closing line
# "FAILED CASE: <name>", and the entry fails. An entry whose filter matches no
# case fails too: it would otherwise pass having checked nothing.
#
# Output goes through a file, not a pipe: Wine's background services inherit
# the program's standard output and would hold a pipe open after it ends.
# The Wine loader itself has been seen dying of a signal under emulation
# after its cases had passed; such an end, with every case finished, runs the
# program once more, as scripts/wine-exec.sh does for a single program.
set -uo pipefail
exe=$1 filter=$2 case_seconds=$3
shift 3
source "$(dirname "${BASH_SOURCE[0]}")/lane.sh"

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

finished=()      # cases that printed their end, passed or failed, in this run or an earlier one
failed=()        # "name (why)"
ran=0
loader_retried=""

# Starts the program on the cases not yet finished and waits for it, ending it
# when one case has run for longer than it may. Sets status and hung.
run_once() {
  local f=$filter
  if [ ${#finished[@]} -gt 0 ]; then
    local skip
    skip=$(IFS=:; echo "${finished[*]}")
    case "$f" in
      *-*) f="$f:$skip" ;;
      *) f="$f-$skip" ;;
    esac
  fi
  wine "$exe" "--gtest_filter=$f" "$@" >"$out" 2>&1 </dev/null &
  local pid=$! last_count=-1 count since=$SECONDS
  hung=""
  while kill -0 "$pid" 2>/dev/null; do
    count=$(marks | grep -c '^\[ RUN      \]')
    if [ "$count" != "$last_count" ]; then
      last_count=$count
      since=$SECONDS
    elif [ $((SECONDS - since)) -ge "$case_seconds" ]; then
      hung=1
      kill -9 "$pid" 2>/dev/null
      break
    fi
    sleep 1
  done
  wait "$pid"
  status=$?
  tr -d '\r' <"$out"
}

# GoogleTest's lines as it wrote them. A child program that shares the
# console may have written text with no line end just before one (a value
# printed by a program the case runs): each mark starts a line of its own.
marks() {
  tr -d '\r' <"$out" |
    sed 's/\(.\)\(\[ RUN      \] \|\[       OK \] \|\[  SKIPPED \] \|\[  FAILED  \] \)/\1\n\2/g'
}

while :; do
  run_once "$@"
  current=""
  while IFS= read -r line; do
    case "$line" in
      "[ RUN      ] "*) current=${line#"[ RUN      ] "}; ran=$((ran + 1)) ;;
      "[       OK ] "*|"[  SKIPPED ] "*)
        name=${line#"[       OK ] "}; name=${name#"[  SKIPPED ] "}; name=${name%% (*}
        [ "$name" = "$current" ] && { finished+=("$name"); current=""; } ;;
      "[  FAILED  ] "*" ms)")
        # A parameterised case's line goes on with ", where GetParam() = ...".
        name=${line#"[  FAILED  ] "}; name=${name%% (*}; name=${name%%, where *}
        if [ "$name" = "$current" ]; then
          finished+=("$name"); failed+=("$name"); current=""
        fi ;;
    esac
  done < <(marks)
  complete=""
  grep -q '^\[==========\] .* ran\.' <(tr -d '\r' <"$out") && complete=1

  if [ -n "$current" ]; then
    # The process ended, or was ended, inside a case: that case failed, and
    # the rest run in a new process.
    if [ -n "$hung" ]; then
      why="ran for more than $case_seconds s and was stopped"
    else
      why="the process ended with status $status inside it"
    fi
    echo "run-cases: $current failed: $why; the cases after it run in a new process"
    finished+=("$current"); failed+=("$current ($why)")
    continue
  fi
  if [ -n "$complete" ]; then
    if [ "$status" -gt 128 ] && [ "$status" -lt 160 ] && [ ${#failed[@]} -eq 0 ] && [ -z "$loader_retried" ]; then
      echo "run-cases: the Wine loader died of signal $((status - 128)) after the cases; running them once more"
      loader_retried=1 finished=() ran=0
      continue
    fi
    if [ "$status" != 0 ] && [ ${#failed[@]} -eq 0 ]; then
      failed+=("(after the last case: the process ended with status $status)")
    fi
    break
  fi
  # Ended outside any case (before the first, or past the last without
  # GoogleTest's summary): nothing more can be learnt by running it again.
  failed+=("(outside any case: the process ended with status $status${hung:+, stopped as hung})")
  break
done

echo "run-cases: $ran cases run, ${#failed[@]} failed"
for f in "${failed[@]}"; do
  echo "FAILED CASE: $f"
done
[ "$ran" -gt 0 ] || { echo "FAILED CASE: (no case matched the filter $filter)"; exit 1; }
[ ${#failed[@]} -eq 0 ]
