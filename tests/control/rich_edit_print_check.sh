#!/usr/bin/env bash
# Rich edit documents printed through the print command on a PostScript
# printer of Wine's own driver, read by a PostScript interpreter that has
# nothing to do with Wine (Ghostscript): each job must hold the pages its
# case wants, under the document name "(Untitled)", and end complete; where
# the writer gives the text, the words on the pages are the text's, in its
# order, and the ink is the text's colour.
#   rich_edit_print_check.sh <build dir>
set -uo pipefail

fail() { echo "FAIL: $*"; exit 1; }
# Every job is read, whatever the writer or an earlier job showed.
failures=0
bad() { echo "FAIL: $*"; failures=$((failures + 1)); }

build_dir=$(cd "$1" && pwd -P) || fail "no build dir $1"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
writer="$build_dir/children/rich_edit_print_writer.exe"
[ -f "$writer" ] || fail "no $writer"
command -v gs >/dev/null || fail "Ghostscript (gs) is not installed"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
bash "$root/scripts/wine-exec.sh" "$writer" "Z:${scratch//\//\\}" "$scratch"
status=$?
tr -d '\r' <"$scratch/report.txt" 2>/dev/null
[ "$status" -eq 0 ] || bad "the writer returned $status"

words() { { cat "$1"; echo; } | tr -s ' \t\r\n' '\n' | sed '/^$/d'; }

# Ghostscript's bbox device reports one bounding box per page it renders,
# txtwrite the text on them, inkcov the cyan, magenta, yellow and black
# (black text takes the same of all four, red as much magenta as yellow).
jobs=0
while read -r file wanted ink; do
  job="$scratch/$file"
  tr -d '\r' <"$job" >"$job.lf"
  grep -qx '%%Title: (Untitled)' "$job.lf" || bad "$file: no title (Untitled): $(grep -m1 '^%%Title' "$job.lf")"
  [ "$(tail -n 1 "$job.lf")" = "%%EOF" ] || bad "$file does not end with %%EOF: $(tail -n 3 "$job.lf")"
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=bbox "$job" >"$scratch/gs.out" 2>&1 ||
    bad "$file: Ghostscript failed: $(cat "$scratch/gs.out")"
  pages=$(grep -c '^%%HiResBoundingBox' "$scratch/gs.out")
  [ "$pages" -eq "$wanted" ] || bad "$file: Ghostscript counts $pages pages, wanted $wanted"
  echo "$file: $pages pages"
  jobs=$((jobs + 1))
  expected="$scratch/${file%.ps}.txt"
  if [ -f "$expected" ]; then
    gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile="$job.txt" "$job" >"$scratch/gs.out" 2>&1 ||
      bad "$file: Ghostscript cannot read its text: $(cat "$scratch/gs.out")"
    diff <(words "$expected") <(words "$job.txt") >"$scratch/diff" ||
      bad "$file: the words on paper are not the control's: $(head -n 20 "$scratch/diff")"
  fi
  [ "$ink" = - ] && continue
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=inkcov -sOutputFile=- "$job" >"$scratch/ink" 2>&1
  awk -v ink="$ink" '{ c += $1; m += $2; y += $3; k += $4 }
    END { exit ink == "red" ? !(c == 0 && m > 0 && m == y) : !(c == m && m == y && k > 0) }' "$scratch/ink" ||
    bad "$file: not printed in $ink: $(cat "$scratch/ink")"
done < <(tr -d '\r' <"$scratch/printed.txt")   # written by a Windows program: CR LF
[ "$jobs" -eq 10 ] || bad "$jobs print jobs, wanted 10"
[ "$failures" -eq 0 ] || exit 1
echo "PASS: Ghostscript reads $jobs print jobs"
