#!/usr/bin/env bash
# Times DownloadAttempt (download_benchmark.exe) on the same 200 MiB body
# from the test CDN directly and through the loopback test proxy
# (tests/cdn/test_proxy.py), chosen as a user chooses it: by the Wine
# prefix's per-user Internet settings. The order of the two rotates from
# round to round; prints each round, the medians, and the median of the
# per-round ratios proxied / direct.
#   tools/download_benchmark/run_proxy_benchmark.sh [--win32] [build dir]   (ROUNDS=5)
# --win32 runs the i686 build in the 32-bit bed (default build/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
preset=win64
if [ "${1:-}" = --win32 ]; then
  preset=win32
  shift
fi
build=$(realpath "${1:-$root/build/$preset}")
work=$(mktemp -d)
cdn= proxy=
trap 'kill $cdn $proxy 2>/dev/null || true; rm -rf "$work"' EXIT

python3 "$root/tests/cdn/test_cdn.py" --port 0 --port-file "$work/cdn-port" --idle-exit 900 &
cdn=$!
python3 "$root/tests/cdn/test_proxy.py" --port 0 --port-file "$work/proxy-port" \
  --log "$work/proxy.jsonl" --idle-exit 900 &
proxy=$!
for _ in $(seq 200); do [ -s "$work/cdn-port" ] && [ -s "$work/proxy-port" ] && break; sleep 0.05; done
cdn_port=$(cat "$work/cdn-port") proxy_port=$(cat "$work/proxy-port")
size=209715200
url=http://127.0.0.1:$cdn_port/generated/$size/setup.exe
python3 -c "import sys; sys.path.insert(0, sys.argv[1]); import test_cdn; \
open(sys.argv[2], 'wb').write(test_cdn.generated_bytes(0, $size))" "$root/tests/cdn" "$work/expected.bin"

if [ $preset = win32 ]; then
  run_wine() { "$root/scripts/bed32-run" --prefix "$build/wine" --bind "$work" "$@"; }
else
  run_wine() { "$root/scripts/wine-run" --prefix "$build/wine" "$@"; }
fi
run_wine cmd /c exit >/dev/null 2>&1 || true
windows() { echo "Z:${1//\//\\}"; }
settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
use_proxy() {
  run_wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
run_wine reg add "$settings" /v ProxyServer /d "127.0.0.1:$proxy_port" /f >/dev/null 2>&1
run_wine reg add "$settings" /v ProxyOverride /d "<-loopback>" /f >/dev/null 2>&1
restore() {
  use_proxy 0
  run_wine reg delete "$settings" /v ProxyServer /f >/dev/null 2>&1 || true
  run_wine reg delete "$settings" /v ProxyOverride /f >/dev/null 2>&1 || true
}
trap 'restore; kill $cdn $proxy 2>/dev/null || true; rm -rf "$work"' EXIT

# Prints the rate in MiB/s; a wrong body is a failed round.
client() {
  local out=$work/$1.bin line rate
  use_proxy "$([ "$1" = proxied ] && echo 1 || echo 0)"
  line=$(run_wine "$build/download_benchmark.exe" "$url" "$(windows "$out")" | tr -d '\r')
  rate=$(sed -n 's/.*mib_per_s=\([0-9.]*\).*/\1/p' <<<"$line")
  cmp -s "$out" "$work/expected.bin" || { echo "$1: the body differs ($line)" >&2; rate=0; }
  rm -f "$out"
  echo "${rate:-0}"
}

rounds=${ROUNDS:-5}
: >"$work/rates"
echo "$(date -u +%H:%M:%S) UTC, $preset, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  if [ $((round % 2)) = 1 ]; then
    direct=$(client direct) proxied=$(client proxied)
  else
    proxied=$(client proxied) direct=$(client direct)
  fi
  echo "$direct $proxied" >>"$work/rates"
  printf 'round %s, 200 MiB (MiB/s): direct %s, through the proxy %s\n' "$round" "$direct" "$proxied"
done
forwarded=$(grep -c "/generated/$size/" "$work/proxy.jsonl" || true)
echo "the proxy forwarded $forwarded of the $rounds proxied downloads"
python3 - "$work/rates" <<'PY'
import statistics, sys
rows = [list(map(float, line.split())) for line in open(sys.argv[1])]
direct, proxied = (statistics.median(column) for column in zip(*rows))
ratios = [p / d for d, p in rows if d]
print("median MiB/s: direct %.1f, through the proxy %.1f" % (direct, proxied))
print("through the proxy / direct: median of the rounds %.2f (rounds: %s)" % (
    statistics.median(ratios) if ratios else 0, " ".join("%.2f" % r for r in ratios)))
PY
