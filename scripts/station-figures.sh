#!/usr/bin/env bash
# Measures halvo-station as a service runs it: CPU and wake-ups over minutes of waiting
# between slots, resident memory, and the time from SIGTERM to exit during a measurement
# against the paced simulator. Usage: scripts/station-figures.sh [BUILD_DIR] [WAIT_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
bin="$(realpath "${1:-build}")/bin"
wait_seconds="${2:-300}"
work=$(mktemp -d /tmp/halvo-figures-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A longitude where the sun stands high now, so every slot measures.
longitude=$(python3 -c 'import time; h=(time.time()%86400)/3600; print(round(((12-h)*15+180)%360-180,3))')

runtime_ns() { awk '{print $1}' "/proc/$1/schedstat"; }
switches() { awk '/^voluntary_ctxt_switches/ {v=$2} /^nonvoluntary_ctxt_switches/ {n=$2} END {print v+n}' "/proc/$1/status"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }

# A station like the service's: a notify socket and a 120 s watchdog, slots every 10 minutes
# in a window that has none in the next minutes, so it only waits.
home="$work/idle"
mkdir -p "$home"
python3 - "$home/notify" <<'PY' &
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
s.bind(sys.argv[1])
with open(sys.argv[1] + ".log", "a") as log:
    while True:
        log.write(s.recv(4096).decode().replace("\n", " ") + "\n")
        log.flush()
PY
pids+=($!)
now_min=$(( ( $(date +%s) % 86400 ) / 60 ))
"$bin/halvo-sim" --link "$home/ports/COM1" --longitude "$longitude" --latitude 0 >/dev/null 2>&1 &
pids+=($!)
# The window starts after the measurement ends (local time of day, in minutes).
start_local=$(date -d "+$(( wait_seconds / 60 + 3 )) min" +%H:%M)
"$bin/halvo-cfg" --port 1 --longitude "$longitude" --latitude 0 --from "$start_local" \
  --to 23:59 --period 600 "$home/Orvel.cfg" >/dev/null
while [ ! -e "$home/ports/COM1" ] || [ ! -S "$home/notify" ]; do sleep 0.1; done
NOTIFY_SOCKET="$home/notify" WATCHDOG_USEC=120000000 \
  "$bin/halvo-station" --home "$home" 2>"$home/station.err" &
station=$!
pids+=($station)
until grep -q READY=1 "$home/notify.log" 2>/dev/null; do sleep 0.2; done
sleep 2
cpu0=$(runtime_ns $station); sw0=$(switches $station); rss0=$(rss_kb $station)
pings0=$(grep -c WATCHDOG=1 "$home/notify.log" || true)
sleep "$wait_seconds"
cpu1=$(runtime_ns $station); sw1=$(switches $station); rss1=$(rss_kb $station)
pings1=$(grep -c WATCHDOG=1 "$home/notify.log" || true)
# Each return from the station's poll() is a wake-up and feeds the watchdog once; the context
# switches also count the blocking fsync of each status-file write.
echo "waiting ${wait_seconds} s: CPU $(( (cpu1 - cpu0) / 1000 )) us" \
  "($(python3 -c "print(f'{($cpu1-$cpu0)/1e9/$wait_seconds*100:.5f}')") % of a core)," \
  "$(( pings1 - pings0 )) wake-ups ($(python3 -c "print(f'{($pings1-$pings0)*60/$wait_seconds:.2f}')") a minute)," \
  "$(( sw1 - sw0 )) context switches, resident ${rss0} kB -> ${rss1} kB"
kill -TERM $station; wait $station || true

# SIGTERM during a measurement against the paced simulator, at several points of the sequence.
for delay in 1 4 8 12 16 20; do
  home="$work/stop$delay"
  mkdir -p "$home"
  "$bin/halvo-sim" --link "$home/ports/COM1" --longitude "$longitude" --latitude 0 >/dev/null 2>&1 &
  sim=$!
  pids+=($sim)
  "$bin/halvo-cfg" --port 1 --longitude "$longitude" --latitude 0 --from 00:00 --to 23:59 \
    --period 600 "$home/Orvel.cfg" >/dev/null
  while [ ! -e "$home/ports/COM1" ]; do sleep 0.1; done
  "$bin/halvo-station" --home "$home" --once 2>"$home/station.err" &
  station=$!
  until grep -q '"measuring"' "$home/halvo-station.status" 2>/dev/null; do sleep 0.05; done
  sleep "$delay"
  t0=$(date +%s.%N)
  kill -TERM $station
  wait $station || true
  t1=$(date +%s.%N)
  echo "SIGTERM ${delay} s into the measurement: exit after" \
    "$(python3 -c "print(f'{$t1-$t0:.2f}')") s; $(tail -n 2 "$home/station.err" | head -n 1 | cut -c21-)"
  kill $sim; wait $sim 2>/dev/null || true
done
