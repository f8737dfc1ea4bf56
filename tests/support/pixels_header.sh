#!/usr/bin/env bash
# Writes a C++ header with the pixels that ImageMagick reads from image files,
# so that tests compare what the platform loads with another reader's view.
#   pixels_header.sh out.h name=file[frame] ...
# Each name becomes kPixels_<name>, an ImagePixels (tests/support/image_pixels.h)
# of 8-bit RGBA values, rows from the top.
set -euo pipefail
out=$1
shift
tmp="$out.tmp"
{
  echo "// Generated at build time by tests/support/pixels_header.sh; do not edit."
  echo "#pragma once"
  echo "#include \"tests/support/image_pixels.h\""
  for spec in "$@"; do
    name=${spec%%=*}
    file=${spec#*=}
    read -r width height < <(identify -format '%w %h\n' "$file" | head -n 1)
    echo "inline constexpr uint8_t kRgba_${name}[] = {"
    convert "$file" -depth 8 rgba:- | od -An -v -tu1 | awk '{ for (i = 1; i <= NF; i++) printf "%s,", $i; printf "\n" }'
    echo "};"
    echo "inline constexpr ImagePixels kPixels_${name}{${width}, ${height}, kRgba_${name}};"
    echo "static_assert(sizeof(kRgba_${name}) == ${width} * ${height} * 4);"
  done
} > "$tmp"
mv "$tmp" "$out"
