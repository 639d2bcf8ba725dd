#!/usr/bin/env bash
# Runs the real application unattended against a faulty simulator and prints a tally.
#
#   scripts/soak.sh [MINUTES]     (default 20)
#
# halvo runs offscreen from a folder of its own (its own Orvel.cfg, ports/COM1 and log.txt),
# with interval measurement auto-started at a 1-minute period over the whole day. The paced
# simulator injects seeded faults: silence, "ERR", split replies, garbled bytes, short raw
# blocks and slow band moves. At the end halvo gets SIGTERM (which must end it cleanly) and the
# files are counted: slots, records, text blocks, log lines, crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-20}
source scripts/soak-run-folder.sh
soak_prepare soak

build/bin/halvo-sim --link "$run/ports/COM1" --longitude "$longitude" --latitude 35 --faults-after 60 \
  --seed 20241205 --silence 0.01 --err 0.02 --split 0.2 --garble 0.01 --short-block 0.02 \
  --slow-band 3 --log "$run/sim.log" &
sim=$!
for _ in $(seq 50); do [ -e "$run/ports/COM1" ] && break; sleep 0.1; done

echo "soak: $minutes min in $run (site $longitude E, 35 N)"
start=$(date +%s)
"$run/halvo" > "$run/halvo.out" 2>&1 &
app=$!
crashes=0
sleep $((minutes * 60)) || true
if kill -0 "$app" 2>/dev/null; then
  kill -TERM "$app"
  wait "$app" && status=0 || status=$?
else
  wait "$app" && status=0 || status=$?
  echo "soak: halvo ended before the run was over"
fi
[ "$status" -eq 0 ] || crashes=1
kill -TERM "$sim" 2>/dev/null || true
wait "$sim" 2>/dev/null || true

elapsed=$(( $(date +%s) - start ))
records=0
for f in "$run"/data/VS*.wsx; do
  [ -e "$f" ] || continue
  n=$(build/bin/halvo-wsx info "$f" | awk '/^records:/ { print $2 }')
  records=$((records + n))
done
blocks=$(cat "$run"/data/*.txt 2>/dev/null | grep -c '^YYYYMMDDHHMMSS' || true)
logs=$(wc -l < "$run/log.txt" 2>/dev/null || echo 0)
faults=$(grep -c 'fault:' "$run/sim.log" || true)
echo "soak: ran ${elapsed}s; about $((elapsed / 60)) slots due"
echo "soak: records $records, text blocks $blocks, log lines $logs, faults injected $faults"
echo "soak: halvo exit status $status, crashes $crashes"
[ "$records" -eq "$blocks" ] && [ "$crashes" -eq 0 ]
