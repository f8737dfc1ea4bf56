#!/usr/bin/env bash
# Draws the image loader's test files with ImageMagick and writes what
# ImageMagick reads back from them into test_images_pixels.h.
#   make_test_images.sh out_dir
set -euo pipefail
out=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$out"
cd "$out"

# 24-bit, an odd width so that rows carry padding.
convert -size 13x7 xc:'rgb(32,64,96)' \
  -fill 'rgb(240,128,16)' -draw 'rectangle 2,1 5,4' \
  -fill 'rgb(16,192,160)' -draw 'point 12,6' \
  -fill 'rgb(255,255,255)' -draw 'point 0,0' \
  -fill 'rgb(1,2,3)' -draw 'line 7,0 7,6' \
  -type TrueColor BMP3:pattern.bmp

# 8-bit with a colour table holding the three greys that 3-D colour mapping
# replaces, beside two colours it keeps.
convert -size 5x2 xc:'rgb(192,192,192)' \
  -fill 'rgb(128,128,128)' -draw 'point 1,0' \
  -fill 'rgb(223,223,223)' -draw 'point 2,0' \
  -fill 'rgb(200,0,0)' -draw 'point 3,0' \
  -fill 'rgb(0,0,200)' -draw 'line 0,1 4,1' \
  -type Palette BMP3:greys.bmp

# An icon of two sizes, each with a fully transparent corner.
convert \
  \( -size 16x16 xc:'rgb(200,30,40)' -fill 'rgb(10,120,230)' -draw 'rectangle 4,4 11,11' \
     -alpha set -region 3x3+0+0 -alpha transparent +region \) \
  \( -size 32x32 xc:'rgb(30,200,40)' -fill 'rgb(250,250,10)' -draw 'rectangle 8,8 23,23' \
     -alpha set -region 3x3+29+29 -alpha transparent +region \) \
  two_sizes.ico

# A cursor. ImageMagick writes it in icon layout; the header is made that of
# a cursor (type 2) with its hot spot at (5, 9).
convert -size 32x32 xc:'rgb(0,0,255)' -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 15,15' \
  -alpha set -region 8x8+24+0 -alpha transparent +region CUR:pointer.cur
printf '\x02\x00' | dd of=pointer.cur bs=1 seek=2 conv=notrunc status=none
printf '\x05\x00\x09\x00' | dd of=pointer.cur bs=1 seek=10 conv=notrunc status=none

# Pictures: JPEG of flat 8 by 8 blocks without chroma subsampling, a GIF and
# an RGB PNG.
convert -size 32x16 xc:'rgb(20,40,200)' \
  -fill 'rgb(230,60,30)' -draw 'rectangle 8,0 15,7' \
  -fill 'rgb(40,180,60)' -draw 'rectangle 16,8 23,15' \
  -fill 'rgb(250,250,250)' -draw 'rectangle 24,0 31,7' \
  -fill 'rgb(10,10,10)' -draw 'rectangle 0,8 7,15' \
  -quality 95 -sampling-factor 1x1 photo.jpg
convert -size 12x10 xc:'rgb(255,255,0)' \
  -fill 'rgb(0,128,255)' -draw 'rectangle 0,0 5,4' \
  -fill 'rgb(128,0,64)' -draw 'line 0,9 11,9' \
  banner.gif
convert -size 9x6 xc:'rgb(10,20,30)' \
  -fill 'rgb(250,100,0)' -draw 'rectangle 3,2 6,4' \
  -fill 'rgb(0,255,128)' -draw 'point 8,5' \
  -define png:color-type=2 picture.png

# Not a picture: text that resource data is copied from.
printf 'Reachlet keeps watch over one host.\r\n' > note.txt

bash "$here/../support/pixels_header.sh" test_images_pixels.h \
  pattern_bmp=pattern.bmp greys_bmp=greys.bmp \
  ico16=two_sizes.ico[0] ico32=two_sizes.ico[1] cursor=pointer.cur \
  photo_jpg=photo.jpg banner_gif=banner.gif picture_png=picture.png
