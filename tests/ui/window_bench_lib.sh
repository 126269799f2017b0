# Shared by the window benchmarks (tests/ui/measure_window.sh,
# scripts/measure-startup): a loopback test CDN serving a setup archive, and
# the driver program (installer_driver.exe) under Wine on a virtual display.
# Source it with $root (the repository), $build (build/win64) and $work (a
# scratch folder) set, and call bench_stop_cdn when done.

bench_cdn_pid=
winpath() { echo "Z:${1//\//\\}"; }

# bench_layout DIR ARCHIVE: DIR as the CDN's root, ARCHIVE at every brand's
# setup URL (hard links: the big archive is not copied).
bench_layout() {
  local brand
  for brand in tolvar ua tb; do
    mkdir -p "$1/browser/$brand"
    ln -f "$2" "$1/browser/$brand/browser-setup.arc" 2>/dev/null ||
      cp "$2" "$1/browser/$brand/browser-setup.arc"
  done
}

# bench_serve DIR: a test CDN for DIR in place of the previous one; sets $port.
bench_serve() {
  bench_stop_cdn
  rm -f "$work/port"
  python3 "$root/tests/cdn/test_cdn.py" --root "$1" --port 0 --port-file "$work/port" \
    --log "$work/requests.jsonl" --idle-exit 7200 >/dev/null 2>&1 &
  bench_cdn_pid=$!
  local _
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
  [ -s "$work/port" ] || { echo "the test CDN did not come up" >&2; return 1; }
  port=$(cat "$work/port")
}

bench_stop_cdn() {
  if [ -n "$bench_cdn_pid" ]; then
    kill "$bench_cdn_pid" 2>/dev/null || true
    wait "$bench_cdn_pid" 2>/dev/null || true
    bench_cdn_pid=
  fi
  return 0
}

# bench_driver ARGS...: installer_driver.exe ARGS under xvfb-run in
# $WINEPREFIX, against the CDN; its wineserver ends with it. Lines are
# passed on as they come, without their CR.
bench_driver() {
  TOLVAR_LITE_ENDPOINT_BASE="http://127.0.0.1:$port" \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
      /usr/lib/wine/wineserver -k 2>/dev/null || true
      "$@"; status=$?
      /usr/lib/wine/wineserver -k 2>/dev/null || true
      exit $status' driver "$root/scripts/wine-run" --prefix "$WINEPREFIX" \
    "$build/installer_driver.exe" "$@" | sed -u 's/\r$//'
}

# bench_driver_in_bed ARGS...: the same in the 32-bit bed (scripts/bed32-run),
# for an i686 build in $build, on an Xvfb of the host that the bed reaches;
# at most $bench_bed_timeout_s seconds in all.
bench_driver_in_bed() {
  local bed=("$root/scripts/bed32-run" --prefix "$WINEPREFIX")
  # The bed keeps its wineserver alive; one of an earlier display would keep
  # that display's desktop.
  "${bed[@]}" --unix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  local status=0
  TOLVAR_LITE_ENDPOINT_BASE="http://127.0.0.1:$port" \
    xvfb-run -a -s "-screen 0 1280x800x24" "${bed[@]}" \
    --timeout "${bench_bed_timeout_s:-7200}" "$build/installer_driver.exe" "$@" |
    sed -u 's/\r$//' || status=$?
  "${bed[@]}" --unix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  return "$status"
}
