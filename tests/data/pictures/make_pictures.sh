#!/usr/bin/env bash
# Makes the small picture files the codec tests decode (needs ImageMagick).
cd "$(dirname "$0")"
set -e
q() { convert -strip -size 16x8 xc:white -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 7,3' -fill 'rgb(0,255,0)' -draw 'rectangle 8,0 15,3' -fill 'rgb(0,0,255)' -draw 'rectangle 0,4 7,7' "$@"; }
q -define png:color-type=2 -depth 8 PNG24:rgb8.png
q -depth 8 -interlace PNG PNG24:interlaced.png
q -colors 4 -define png:bit-depth=4 -define png:color-type=3 PNG8:palette4.png
convert -strip -size 16x8 xc:black -fill white -draw 'rectangle 8,0 15,7' -depth 1 -define png:color-type=0 -define png:bit-depth=1 gray1.png
convert -strip -size 16x8 xc:'rgba(255,0,0,1)' -region 8x8+8+0 -alpha set -channel A -evaluate set 50% +channel +region -depth 16 PNG64:rgba16.png
convert -strip -size 16x8 xc:'graya(50%,1)' -region 8x8+8+0 -alpha set -channel A -evaluate set 0 +channel +region -define png:color-type=4 -depth 8 graya.png
j() { convert -strip -size 32x16 xc:'rgb(0,0,255)' -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 15,15' "$@"; }
j -quality 95 rgb.jpg
j -quality 95 -interlace JPEG progressive.jpg
j -colorspace Gray -quality 95 gray.jpg
j -colorspace CMYK -quality 95 cmyk.jpg
