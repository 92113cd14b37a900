#!/usr/bin/env bash
# Makes the desktop icon, data/tarnwick.png, from the hero's standing picture: the cat trimmed
# to its outline, set on a rounded plate in the title's sunset colours. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../.."

size=256          # px, the icon's side
margin=20         # px between the plate's edge and the cat
corner=48         # px, the plate's corner radius
sunset_top="#f2b36b"
sunset_bottom="#b8605a"
out=data/tarnwick.png

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

inner=$((size - 2 * margin))
convert assets/images/serval_cat_stand.png -trim +repage \
  -resize "${inner}x${inner}" "$work/cat.png"
convert -size "${size}x${size}" "gradient:${sunset_top}-${sunset_bottom}" "$work/sky.png"
convert -size "${size}x${size}" xc:none -fill white \
  -draw "roundrectangle 0,0,$((size - 1)),$((size - 1)),${corner},${corner}" "$work/mask.png"
convert "$work/sky.png" "$work/mask.png" -alpha off -compose CopyOpacity -composite \
  "$work/cat.png" -gravity center -compose Over -composite \
  -depth 8 -strip -define png:exclude-chunks=date,time "$out"
echo "Icon written to $out"
