#!/usr/bin/env bash
# Renders the editor's bitmaps from their SVG sources in art/ into the 8-bit BMP files that
# Ferrowin.rc binds to resource ids 128..133, and at 150 % and 200 % (NAME-150.bmp, ids
# 228..233; NAME-200.bmp, ids 328..333) for scaled windows. The BMPs are committed, so a build never needs
# this; run it after changing a picture. Needs rsvg-convert (librsvg2-bin) and ImageMagick.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# source picture -> bitmap file (resource id in Ferrowin.rc)
pictures=(
  "background:background.bmp" # 128, 691 x 371
  "track:track.bmp"           # 129, 16 x 160
  "handle:handle.bmp"         # 130, 16 x 29
  "button:button.bmp"         # 131, 26 x 36
  "marker:marker.bmp"         # 132, 4 x 7
  "knob:knob.bmp"             # 133, 32 x 1024
)
zooms=("1:" "1.5:-150" "2:-200") # zoom:suffix of the file name
count=0
for entry in "${pictures[@]}"; do
  for zoom_entry in "${zooms[@]}"; do
    name="${entry%%:*}"
    out="${entry#*:}"
    zoom="${zoom_entry%%:*}"
    out="${out%.bmp}${zoom_entry#*:}.bmp"
    rsvg-convert -z "$zoom" "$here/art/$name.svg" -o "$work/$name.png"
    # Uncompressed 8-bit rows with a palette: ImageMagick would otherwise write RLE8, or 4-bit
    # rows for a picture of 16 colours or fewer; -colors 256 with -type palette keeps 8 bits.
    convert "$work/$name.png" -alpha off +dither -type palette -colors 256 -compress none \
      -define bmp:format=bmp3 "BMP3:$work/$out"
    bits="$(od -An -tu2 -j28 -N2 "$work/$out" | tr -d ' ')"
    compression="$(od -An -tu4 -j30 -N4 "$work/$out" | tr -d ' ')"
    if [ "$bits" != 8 ] || [ "$compression" != 0 ]; then
      echo "render-art: $out came out with $bits bits per pixel, compression $compression" >&2
      exit 1
    fi
    cp "$work/$out" "$here/$out"
    count=$((count + 1))
  done
done
echo "render-art: wrote $count bitmaps"
