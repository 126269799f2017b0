#!/usr/bin/env bash
# Renders an SVG into a Windows icon with the sizes Windows picks from:
# 16, 20, 24, 32, 40, 48, 64 and 256 pixels (1x and 2x of the small ones),
# or the sizes given after the output.
#   make_icon.sh input.svg output.ico [size...]
set -euo pipefail
svg=$1 ico=$2
shift 2
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(16 20 24 32 40 48 64 256)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in "${sizes[@]}"; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$work/$size.png"
  pngs+=("$work/$size.png")
done
convert "${pngs[@]}" "$ico"
