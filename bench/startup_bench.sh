#!/usr/bin/env bash
# Start-up of the desktop program under Xvfb: time to its window mapped, time
# to its first browser pane showing its start page, and the PSS summed over
# its process tree (the browser engine's helpers included) with the process
# count; medians of several starts on one X server, printed as a table.
# Usage: bench/startup_bench.sh [BUILD_DIR [RUNS]]
set -euo pipefail
build="${1:-build}"
runs="${2:-7}"
program="$build/src/utquery"
probe="$build/bench/startup_probe"
caption="Unreal Tournament Server Query v{Qev}3.0 by: Kestrun"
# Inside the UT99 query pane, clear of the controls over it, in pixels from the window's corner.
pane=(16 250 480 330)
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
results=$(mktemp)
trap 'kill $xvfb; rm -f "$results"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
for _ in $(seq "$runs"); do
  "$probe" "$program" "$caption" "${pane[@]}" >>"$results" 2>/dev/null || echo "a start failed" >&2
done
median() { cut -d' ' -f"$1" "$results" | sort -n | sed -n "$(( ($(wc -l <"$results") + 1) / 2 ))p"; }
printf '%-28s %10s\n' "starts" "$(wc -l <"$results")"
printf '%-28s %10s\n' "window mapped (ms)" "$(median 1)" "first pane painted (ms)" "$(median 2)"
printf '%-28s %10s\n' "tree PSS (MB)" "$(( $(median 3) / 1024 ))" "processes" "$(median 4)"
