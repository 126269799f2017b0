#!/usr/bin/env bash
# Times, in each round, three clients of the same 200 MiB body over loopback
# from the test CDN: DownloadAttempt (download_benchmark.exe under wine64),
# a bare InternetReadFile loop into a file under the same Wine (the bound of
# this platform) and curl (no WinINet, no Wine). Their order rotates from
# round to round. Prints each round, then the medians and the ratios
# DownloadAttempt / bare loop and DownloadAttempt / curl, and the peak
# working set of a 200 MiB against a 2 MiB download.
#   tools/download_benchmark/run_benchmark.sh [build/win64]    (ROUNDS=5)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build/win64}")
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$work"' EXIT

python3 "$root/tests/cdn/test_cdn.py" --port 0 --port-file "$work/port" --idle-exit 900 &
server=$!
for _ in $(seq 200); do [ -s "$work/port" ] && break; sleep 0.05; done
port=$(cat "$work/port")
size=209715200
big=http://127.0.0.1:$port/generated/$size/setup.exe
small=http://127.0.0.1:$port/generated/2097152/setup.exe
# What every client must have written.
python3 -c "import sys; sys.path.insert(0, sys.argv[1]); import test_cdn; \
open(sys.argv[2], 'wb').write(test_cdn.generated_bytes(0, $size))" "$root/tests/cdn" "$work/expected.bin"

export WINEPREFIX=${WINEPREFIX:-$build/wine}
run_wine() { "$root/scripts/wine-run" --prefix "$WINEPREFIX" "$@"; }
run_wine cmd /c exit >/dev/null 2>&1 || true
windows() { echo "Z:${1//\//\\}"; }

# Each client prints its rate in MiB/s; a wrong body is a failed round.
client() {
  local name=$1 out=$work/$1.bin line rate
  case "$name" in
    curl)
      rate=$(curl -s -o "$out" -w '%{speed_download}' "$big" | awk '{printf "%.1f", $1 / 1048576}')
      line="curl" ;;
    attempt)
      line=$(run_wine "$build/download_benchmark.exe" "$big" "$(windows "$out")")
      rate=$(sed -n 's/.*mib_per_s=\([0-9.]*\).*/\1/p' <<<"$line") ;;
    bare)
      line=$(run_wine "$build/download_benchmark.exe" --bare "$big" "$(windows "$out")")
      rate=$(sed -n 's/.*mib_per_s=\([0-9.]*\).*/\1/p' <<<"$line") ;;
  esac
  cmp -s "$out" "$work/expected.bin" || { echo "$name: the body differs ($line)" >&2; rate=0; }
  rm -f "$out"
  echo "$rate"
}

rounds=${ROUNDS:-5}
orders=("attempt bare curl" "bare curl attempt" "curl attempt bare")
: >"$work/rates"
echo "$(date -u +%H:%M:%S) UTC, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  declare -A rate=()
  for name in ${orders[$(( (round - 1) % 3 ))]}; do rate[$name]=$(client "$name"); done
  echo "${rate[attempt]} ${rate[bare]} ${rate[curl]}" >>"$work/rates"
  printf 'round %s, 200 MiB (MiB/s): DownloadAttempt %s, bare loop %s, curl %s\n' \
    "$round" "${rate[attempt]}" "${rate[bare]}" "${rate[curl]}"
done
python3 - "$work/rates" <<'PY'
import statistics, sys
rows = [list(map(float, line.split())) for line in open(sys.argv[1])]
attempt, bare, curl = (statistics.median(column) for column in zip(*rows))
per_round = [a / b for a, b, _ in rows if b]
print("median MiB/s: DownloadAttempt %.1f, bare loop %.1f, curl %.1f" % (attempt, bare, curl))
# The two WinINet clients of one round ran back to back under the same load:
# the median of their per-round ratios is the steadier figure.
print("DownloadAttempt / bare loop: median of the rounds %.2f (rounds: %s; ratio of the "
      "medians %.2f); DownloadAttempt / curl: %.2f" % (
          statistics.median(per_round), " ".join("%.2f" % r for r in per_round),
          attempt / bare, attempt / curl))
PY
echo "peak working set, 200 MiB: $(run_wine "$build/download_benchmark.exe" "$big" "$(windows "$work/big.bin")" | sed -n 's/.*\(peak_working_set_kib=[0-9]*\).*/\1/p')"
echo "peak working set, 2 MiB:   $(run_wine "$build/download_benchmark.exe" "$small" "$(windows "$work/small.bin")" | sed -n 's/.*\(peak_working_set_kib=[0-9]*\).*/\1/p')"
