#!/usr/bin/env bash
# The status service on loopback: page latency against the raw query (fresh
# queries, 1000 requests), and cached-page throughput with wrk at 50 connections.
# Usage: bench/page_bench.sh [BUILD_DIR]
set -euo pipefail
build="${1:-build}"
service_port=17801
game_port=22901

"$build/bench/fakefleet" ut3 1 "$game_port" > /dev/null &
fleet=$!
"$build/src/utstatus" serve --listen "127.0.0.1:$service_port" --allow-lan --no-budgets > /dev/null &
service=$!
trap 'kill $fleet $service 2>/dev/null || true' EXIT
sleep 1

"$build/bench/page_latency" "$service_port" "$game_port" 1000

url="http://127.0.0.1:$service_port/Qev/UT3Query/ut3query.php?serverip=127.0.0.1&serverqport=$game_port&serverwport=0"
curl -s -o /dev/null "$url" # the answer that the following requests share
wrk -t2 -c50 -d10s "$url" | grep -E 'Requests/sec|Latency|requests in'
