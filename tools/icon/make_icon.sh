#!/usr/bin/env bash
# Makes the desktop icons, data/icons/hicolor/<size>x<size>/apps/tarnwick.png at the sizes
# desktops ask for, from the hero's standing picture: the cat trimmed to its outline, set on a
# rounded plate in the title's sunset colours. Each size is drawn from the picture itself, not
# shrunk from a larger icon, so small ones stay sharp. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../.."

sizes=(16 22 24 32 48 64 128 192 256 512)  # px, the icon's side (192 and 512: the browser build's)
# Proportions of the 256 px icon, scaled to each size.
margin_256=20  # px between the plate's edge and the cat
corner_256=48  # px, the plate's corner radius
sunset_top="#f2b36b"
sunset_bottom="#b8605a"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

convert assets/images/serval_cat_stand.png -trim +repage "$work/trimmed.png"

scaled() { echo $((($1 * $2 + 128) / 256)); }

for size in "${sizes[@]}"; do
  margin="$(scaled "$margin_256" "$size")"
  corner="$(scaled "$corner_256" "$size")"
  inner=$((size - 2 * margin))
  out="data/icons/hicolor/${size}x${size}/apps/tarnwick.png"
  mkdir -p "$(dirname "$out")"
  convert "$work/trimmed.png" -resize "${inner}x${inner}" "$work/cat.png"
  convert -size "${size}x${size}" "gradient:${sunset_top}-${sunset_bottom}" "$work/sky.png"
  convert -size "${size}x${size}" xc:none -fill white \
    -draw "roundrectangle 0,0,$((size - 1)),$((size - 1)),${corner},${corner}" "$work/mask.png"
  convert "$work/sky.png" "$work/mask.png" -alpha off -compose CopyOpacity -composite \
    "$work/cat.png" -gravity center -compose Over -composite \
    -depth 8 -strip -define png:exclude-chunks=date,time "$out"
  echo "Icon written to $out"
done
# The game sets its window's icon from a copy beside its other pictures.
cp data/icons/hicolor/256x256/apps/tarnwick.png assets/tarnwick.png
