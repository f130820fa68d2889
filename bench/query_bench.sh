#!/usr/bin/env bash
# Wall time of status queries on loopback against fake servers, side by side:
# utstatus, quakestat (qstat) and gamedig; one server, and 200 at once.
# Usage: bench/query_bench.sh [BUILD_DIR [GAME...]]   (gamedig from BUILD_DIR/tools, see scripts/test.sh)
set -euo pipefail
build="${1:-build}"
shift || true
games=("$@")
[ "$#" -gt 0 ] || games=(ut99 ut2004 ut3)
utstatus="$build/src/utstatus"
fleet="$build/bench/fakefleet"
gamedig_dir="$build/tools"
runs=5
count=200

now_ms() { date +%s%3N; }

# Median wall time in ms of running a command $runs times.
median() { # a run that hangs counts as 30 s
  local times=()
  for _ in $(seq "$runs"); do
    local start; start=$(now_ms)
    timeout 30 "$@" >/dev/null 2>&1 || true
    times+=($(( $(now_ms) - start )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

# gamedig has one server per command; many at once go through its library
# (an ES module: the script sits beside its node_modules to find it).
many_js="$gamedig_dir/query_many.mjs"
cat > "$many_js" <<'JS'
import { GameDig } from 'gamedig';
const [type, first, count] = [process.argv[2], +process.argv[3], +process.argv[4]];
const ports = Array.from({length: count}, (_, i) => first + i);
const results = await Promise.allSettled(ports.map(port => GameDig.query({type, host: '127.0.0.1', port,
  givenPortOnly: true, socketTimeout: 3000})));
const answered = results.filter(r => r.status === 'fulfilled').length;
process.exit(answered === count ? 0 : 1);
JS

declare -A qstat_type=([ut99]=-uns [ut2004]=-ut2004s [ut3]=-ut3s)
declare -A gamedig_type=([ut99]=unrealtournament [ut2004]=unrealtournament2004 [ut3]=unrealtournament3)
declare -A first_port=([ut99]=20001 [ut2004]=21001 [ut3]=22001)

printf '%-8s %-10s %12s %12s %12s\n' game servers utstatus quakestat gamedig
for game in "${games[@]}"; do
  first=${first_port[$game]}
  "$fleet" "$game" "$count" "$first" > /tmp/fakefleet.$$ &
  fleet_pid=$!
  until grep -q ready /tmp/fakefleet.$$ 2>/dev/null; do sleep 0.1; done

  servers=()
  for i in $(seq 0 $((count - 1))); do servers+=("127.0.0.1:$((first + i))"); done

  one_ut=$(median "$utstatus" query --game "$game" --query-port "${servers[0]}")
  # quakestat reads its options before the servers; -default gives every server the type.
  one_qs=$(median quakestat -default "${qstat_type[$game]#-}" -noportoffset -R -P -timeout 3 "${servers[0]}")
  one_gd=$(median "$gamedig_dir/node_modules/.bin/gamedig" --type "${gamedig_type[$game]}" --host 127.0.0.1 \
    --port "$first" --givenPortOnly)
  printf '%-8s %-10s %10s ms %10s ms %10s ms\n' "$game" 1 "$one_ut" "$one_qs" "$one_gd"

  all_ut=$(median "$utstatus" query --game "$game" --query-port "${servers[@]}")
  all_qs=$(median quakestat -default "${qstat_type[$game]#-}" -noportoffset -R -P -timeout 3 -maxsim "$count" \
    "${servers[@]}")
  all_gd=$(median node "$many_js" "${gamedig_type[$game]}" "$first" "$count")
  printf '%-8s %-10s %10s ms %10s ms %10s ms\n' "$game" "$count" "$all_ut" "$all_qs" "$all_gd"

  kill "$fleet_pid"; wait "$fleet_pid" 2>/dev/null || true
  rm -f /tmp/fakefleet.$$
done
