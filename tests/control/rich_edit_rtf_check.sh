#!/usr/bin/env bash
# The RTF a rich edit control streams out, read by an RTF reader that has
# nothing to do with Wine (unrtf): its text must be the control's own text,
# which the same control streamed out as plain text. The writer is a program
# of children/ that takes the two files' paths: rich_edit_rtf_writer, or
# another program's own save.
#   rich_edit_rtf_check.sh <build dir> [writer]
set -uo pipefail

fail() { echo "FAIL: $*"; exit 1; }

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
build_dir=$(cd "$1" && pwd -P) || fail "no build dir $1"
writer="$build_dir/children/${2:-rich_edit_rtf_writer}.exe"
[ -f "$writer" ] || fail "no $writer"
command -v unrtf >/dev/null || fail "unrtf is not installed"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
windows_dir="Z:${scratch//\//\\}"
bash "$root/scripts/wine-exec.sh" "$writer" "$windows_dir\\document.rtf" "$windows_dir\\document.txt" ||
  fail "the writer returned $?"
head -c 5 "$scratch/document.rtf" | grep -q '^{\\rtf' || fail "no RTF document: $(head -c 200 "$scratch/document.rtf")"
# The file holds the document alone: no NUL byte after the closing brace.
size=$(wc -c <"$scratch/document.rtf")
[ "$(tr -d '\000' <"$scratch/document.rtf" | wc -c)" -eq "$size" ] || fail "the RTF file of $size bytes holds a NUL byte"

# unrtf's text output: "###" comment lines, then a line of dashes, then the
# document. Its text mode writes a tab as spaces and a line break and does not
# keep the last line's ending, so both sides are compared as words: every run
# of blanks, tabs and line ends counts as one space.
unrtf --text "$scratch/document.rtf" >"$scratch/unrtf.out" 2>"$scratch/unrtf.err" ||
  fail "unrtf failed: $(cat "$scratch/unrtf.err")"
words() { tr -d '\r' | tr -s ' \t\n' ' ' | sed -e 's/^ //' -e 's/ $//'; }
sed '1,/^-----------------$/d' "$scratch/unrtf.out" | words >"$scratch/read"
words <"$scratch/document.txt" >"$scratch/control"
[ -s "$scratch/control" ] || fail "the control's text is empty"
if ! cmp -s "$scratch/read" "$scratch/control"; then
  echo "--- RTF"; cat "$scratch/document.rtf"; echo
  echo "--- the control's words"; cat "$scratch/control"; echo
  echo "--- unrtf's words"; cat "$scratch/read"; echo
  fail "unrtf reads another text than the control's"
fi
lines=$(tr -cd '\n' <"$scratch/document.txt" | wc -c)
echo "PASS: unrtf reads the control's $((lines + 1)) lines"
