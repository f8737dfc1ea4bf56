#!/usr/bin/env bash
# Takes the example program out of the README (its one cpp block) and makes
# the bitmap and the text file it reads, so that the tests build and run what
# readers see.
#   readme_example.sh README.md out_dir
set -euo pipefail
readme=$1
out=$2
mkdir -p "$out"
awk '/^```cpp$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$readme" > "$out/readme_example.cpp.tmp"
if ! grep -q WinMain "$out/readme_example.cpp.tmp"; then
  echo "no example program in $readme" >&2
  exit 1
fi
mv "$out/readme_example.cpp.tmp" "$out/readme_example.cpp"
convert -size 48x32 xc:'rgb(0,90,160)' -type TrueColor BMP3:"$out/logo.bmp"
# Three lines, with each of the endings a reader meets, the last one none.
printf 'first\r\nsecond\nthird' > "$out/notes.txt"
