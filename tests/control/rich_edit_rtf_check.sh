#!/usr/bin/env bash
# The RTF a rich edit control streams out, read by an RTF reader that has
# nothing to do with Wine (unrtf): its text must be the control's own text,
# which the same control streamed out as plain text.
#   rich_edit_rtf_check.sh <build dir>
set -uo pipefail

fail() { echo "FAIL: $*"; exit 1; }

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
build_dir=$(cd "$1" && pwd -P) || fail "no build dir $1"
writer="$build_dir/children/rich_edit_rtf_writer.exe"
[ -f "$writer" ] || fail "no $writer"
command -v unrtf >/dev/null || fail "unrtf is not installed"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
windows_dir="Z:${scratch//\//\\}"
bash "$root/scripts/wine-exec.sh" "$writer" "$windows_dir\\document.rtf" "$windows_dir\\document.txt" ||
  fail "the writer returned $?"
head -c 5 "$scratch/document.rtf" | grep -q '^{\\rtf' || fail "no RTF document: $(head -c 200 "$scratch/document.rtf")"

# unrtf's text output: "###" comment lines, then a line of dashes, then the
# document. Line ends and trailing empty lines do not count.
unrtf --text "$scratch/document.rtf" >"$scratch/unrtf.out" 2>"$scratch/unrtf.err" ||
  fail "unrtf failed: $(cat "$scratch/unrtf.err")"
sed '1,/^-----------------$/d' "$scratch/unrtf.out" | tr -d '\r' | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' >"$scratch/read"
tr -d '\r' <"$scratch/document.txt" | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' >"$scratch/control"
[ -s "$scratch/control" ] || fail "the control's text is empty"
if ! cmp -s "$scratch/read" "$scratch/control"; then
  echo "--- RTF"; cat "$scratch/document.rtf"; echo
  diff "$scratch/control" "$scratch/read"
  fail "unrtf reads another text than the control's"
fi
lines=$(wc -l <"$scratch/control")
echo "PASS: unrtf reads the control's $((lines + 1)) lines"
