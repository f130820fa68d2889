#!/usr/bin/env bash
# Listing and asking every server of a master, side by side on loopback:
# utstatus list against quakestat -gsm,ut, 2,000 fake UT99 servers that answer
# at once behind one fake master. Prints each tool's median wall time and how
# many servers it heard.
# Usage: bench/list_bench.sh [BUILD_DIR [COUNT]]
set -euo pipefail
build="${1:-build}"
count="${2:-2000}"
runs=5
first=30001
master=28999

"$build/bench/fakefleet" ut99 "$count" "$first" "$master" > /tmp/listfleet.$$ &
fleet_pid=$!
trap 'kill $fleet_pid 2>/dev/null; rm -f /tmp/listfleet.$$' EXIT
until grep -q ready /tmp/listfleet.$$ 2>/dev/null; do sleep 0.1; done

now_ms() { date +%s%3N; }
# Median wall time in ms of $runs runs, and the servers heard in the last one.
measure() {
  local times=() heard=0
  for _ in $(seq "$runs"); do
    local start; start=$(now_ms)
    heard=$("$@" 2>/dev/null | grep -c ' ms$\|type="GPS".*status="UP"' || true)
    times+=($(( $(now_ms) - start )))
  done
  echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p") ms, $heard of $count heard"
}

echo "utstatus list:      $(measure "$build/src/utstatus" list --game ut99 --master 127.0.0.1:$master)"
echo "quakestat -gsm,ut:  $(measure quakestat -gsm,ut "127.0.0.1:$master" -xml -maxsim "$count" -timeout 3)"
