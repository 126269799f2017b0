#!/usr/bin/env bash
# Lays every rendered picture of the window out on contact sheets, each
# labelled with its resource id and size, to look at them side by side:
# backgrounds (1x), backgrounds (2x, halved), controls (zoomed x3, on grey so
# that white and dark glyphs both show) and shadow pieces (zoomed x3).
#   art_contact_sheet.sh [PICTURES_DIR] [OUT_DIR]
# PICTURES_DIR defaults to build/win64/generated/art/pictures.
set -euo pipefail
dir=${1:-build/win64/generated/art/pictures}
out=${2:-build/art_sheets}
mkdir -p "$out"
pick() { for id in "$@"; do ls "$dir/$id".* 2>/dev/null; done; }
sheet() {  # name tile zoom background ids...
  local name=$1 tile=$2 zoom=$3 background=$4
  shift 4
  montage -label '%t %wx%h' $(pick "$@") -tile "$tile" -geometry +6+6 -pointsize 10 \
    -background "$background" "$out/$name.png"
  [ "$zoom" = 100 ] || mogrify -filter point -resize "$zoom%" "$out/$name.png"
  echo "$out/$name.png"
}
sheet backgrounds-1x 3x 100 '#808080' 2021 2023 2025 2027 2264 2258 2266 2268 2260 2262 906 904 910
sheet backgrounds-2x 3x 50 '#808080' 2022 2024 2026 2028 2265 2259 2267 2269 2261 2263
sheet controls 6x 300 '#8a8a9a' 2019 2020 2256 2257 902 2030 2031 2034 2035 2036 2037 103 101 2238 2239
sheet buttons-logos 3x 100 '#8a8a9a' 2029 2270 907 2234 2235 2236 2237 105 106 903 915 911 917 \
  2271 2272 2273 2274
sheet bars-dialogs 2x 100 '#8a8a9a' 2038 2039 2040 2041 908 909 2233 104
sheet shadows 16x 300 '#e8e8e8' $(seq 2042 2065) $(seq 2275 2298) $(seq 225 232) $(seq 2240 2255)
