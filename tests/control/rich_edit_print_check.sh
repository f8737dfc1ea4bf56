#!/usr/bin/env bash
# Rich edit documents printed through the print command on a PostScript
# printer of Wine's own driver, read by a PostScript interpreter that has
# nothing to do with Wine (Ghostscript): each job must hold the pages its
# case wants, under the document name "(Untitled)", and end complete.
#   rich_edit_print_check.sh <build dir>
set -uo pipefail

fail() { echo "FAIL: $*"; exit 1; }

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
[ "$status" -eq 0 ] || fail "the writer returned $status"

# Ghostscript's bbox device reports one bounding box per page it renders.
jobs=0
while read -r file wanted; do
  job="$scratch/$file"
  tr -d '\r' <"$job" >"$job.lf"
  grep -qx '%%Title: (Untitled)' "$job.lf" || fail "$file: no title (Untitled): $(grep -m1 '^%%Title' "$job.lf")"
  [ "$(tail -n 1 "$job.lf")" = "%%EOF" ] || fail "$file does not end with %%EOF: $(tail -n 3 "$job.lf")"
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=bbox "$job" >"$scratch/gs.out" 2>&1 ||
    fail "$file: Ghostscript failed: $(cat "$scratch/gs.out")"
  pages=$(grep -c '^%%HiResBoundingBox' "$scratch/gs.out")
  [ "$pages" -eq "$wanted" ] || fail "$file: Ghostscript counts $pages pages, wanted $wanted"
  echo "$file: $pages pages"
  jobs=$((jobs + 1))
done < <(tr -d '\r' <"$scratch/printed.txt")   # written by a Windows program: CR LF
[ "$jobs" -eq 5 ] || fail "$jobs print jobs, wanted 5"
echo "PASS: Ghostscript reads $jobs print jobs"
