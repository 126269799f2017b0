#!/usr/bin/env bash
# Compares the downloader (download_benchmark.exe under wine64) with curl
# over loopback against the test CDN, and the peak working set of a 200 MiB
# against a 2 MiB download.
#   tools/download_benchmark/run_benchmark.sh [build/win64]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/win64}")
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT

python3 "$root/tests/cdn/test_cdn.py" --port 0 --port-file "$work/port" --idle-exit 900 &
server=$!
for _ in $(seq 200); do [ -s "$work/port" ] && break; sleep 0.05; done
port=$(cat "$work/port")
big=http://127.0.0.1:$port/generated/209715200/setup.exe
small=http://127.0.0.1:$port/generated/2097152/setup.exe

export WINEPREFIX=${WINEPREFIX:-$build/wine}
run_wine() { "$root/scripts/wine-run" --prefix "$WINEPREFIX" "$@"; }
run_wine cmd /c exit >/dev/null 2>&1 || true

rounds=${ROUNDS:-3}
for round in $(seq "$rounds"); do
  curl_rate=$(curl -s -o "$work/curl.bin" -w '%{speed_download}' "$big")
  lite=$(run_wine "$build/download_benchmark.exe" "$big" "Z:${work//\//\\}\\lite.bin")
  cmp -s "$work/curl.bin" "$work/lite.bin" || echo "round $round: bodies differ"
  rm -f "$work/curl.bin" "$work/lite.bin"
  lite_rate=$(sed -n 's/.*mib_per_s=\([0-9.]*\).*/\1/p' <<<"$lite")
  python3 -c "import sys; c=float(sys.argv[1])/1048576; l=float(sys.argv[2]); \
print('round %s, 200 MiB: curl %.1f MiB/s, DownloadAttempt %.1f MiB/s, ratio %.2f' % (sys.argv[3], c, l, l/c))" \
    "$curl_rate" "$lite_rate" "$round"
  echo "  200 MiB: $lite"
  echo "  2 MiB:   $(run_wine "$build/download_benchmark.exe" "$small" "Z:${work//\//\\}\\small.bin")"
done
