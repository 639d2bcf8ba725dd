#!/usr/bin/env bash
# Runs the real application through a band unit that falls silent for three 1-minute slots.
#
#   scripts/silent-band-soak.sh [MINUTES]     (default 6)
#
# halvo runs offscreen from a folder of its own with interval measurement auto-started at a
# 1-minute period. The paced simulator's band unit stops answering 50 s after the start and
# answers again 190 s later. Every 2 s the script samples halvo's stack and resident size; at
# the end it checks the day's records: in time order, one per slot at most, and each one's light
# reading taken inside its own slot.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-6}
source scripts/soak-run-folder.sh
soak_prepare silent-band

build/bin/halvo-sim --link "$run/ports/COM1" --longitude "$longitude" --latitude 35 \
  --band-off --faults-after 50 --faults-for 190 --log "$run/sim.log" >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$run/ports/COM1" ] && break; sleep 0.1; done

echo "silent band: $minutes min in $run"
"$run/halvo" > "$run/halvo.out" 2>&1 &
app=$!
end=$(( $(date +%s) + minutes * 60 ))
while [ "$(date +%s)" -lt "$end" ] && kill -0 "$app" 2>/dev/null; do
  awk -v t="$(date +%s)" '/^VmStk|^VmRSS/ { v[$1] = $2 } END { print t, v["VmStk:"], v["VmRSS:"] }' \
    "/proc/$app/status" >> "$run/samples.txt"
  sleep 2
done
status=0
kill -TERM "$app" 2>/dev/null && { wait "$app" || status=$?; }
kill -TERM "$sim" 2>/dev/null || true
wait "$sim" 2>/dev/null || true

python3 - "$run" "$status" <<'PY'
import glob, struct, sys
run, status = sys.argv[1], int(sys.argv[2])
samples = [list(map(int, l.split())) for l in open(run + "/samples.txt") if len(l.split()) == 3]
stacks = [s[1] for s in samples]
rss = [s[2] for s in samples]
print(f"silent band: stack {min(stacks)}-{max(stacks)} kB, resident {min(rss)}-{max(rss)} kB "
      f"over {len(samples)} samples")
times, late = [], 0
for path in sorted(glob.glob(run + "/data/VS*.wsx")):
    data = open(path, "rb").read()
    start = data.index(b"HEADER_END\n") + len(b"HEADER_END\n") + 2048 * 4
    for at in range(start, len(data) - 32899, 32900):
        meas, light = struct.unpack_from("<iI", data, at)[0], struct.unpack_from("<i", data, at + 8)[0]
        times.append(meas)
        late += not (0 <= light - meas < 60)
ordered = times == sorted(times) and len(set(times)) == len(times)
print(f"silent band: {len(times)} records, in time order: {ordered}, "
      f"measured outside their slot: {late}, halvo exit status {status}")
sys.exit(0 if ordered and late == 0 and status == 0 else 1)
PY
