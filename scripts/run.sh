#!/usr/bin/env bash
# Builds Halvo and runs it against the simulated instruments (halvo-sim) published as COM1.
# On a machine without a display the program runs on a virtual one: one measurement is taken and
# a picture of the main window is saved. Ctrl+C ends everything.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=${HALVO_BUILD_DIR:-build}  # another folder only for trying the script out
bin=$build/bin
echo "== build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target halvo halvo-sim halvo-cfg halvo-shot

if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=/tmp/halvo-run-$(id -u)
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi

pids=()
cleanup() {
  trap - INT TERM EXIT
  # The programs end cleanly on SIGTERM: halvo stores its settings and closes the port.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The first run gets the simulator's port, and a site where the sun is up now (its local solar
# noon follows the clock), so the first measurement always sees daylight. An existing settings
# file is left as it is; the simulated sky then uses its site.
cfg=$bin/Orvel.cfg
if [ ! -f "$cfg" ]; then
  minutes=$((10#$(date -u +%H) * 60 + 10#$(date -u +%M)))
  longitude=$(awk -v m="$minutes" 'BEGIN { l = (720 - m) / 4; if (l > 180) l -= 360; printf "%.2f", l }')
  "$bin/halvo-cfg" --port 1 --longitude "$longitude" --latitude 35 "$cfg"
  echo "run: wrote $cfg (port 1, site $longitude E, 35 N)"
fi
read -r _ site_lon site_lat < <("$bin/halvo-cfg" --show "$cfg" | tr '=' ' ' | awk '{ print $1, $4, $6 }')

mkdir -p "$bin/ports"
"$bin/halvo-sim" --link "$bin/ports/COM1" --longitude "$site_lon" --latitude "$site_lat" &
pids+=($!)
for _ in $(seq 50); do
  [ -e "$bin/ports/COM1" ] && break
  sleep 0.1
done

if [ -z "${DISPLAY:-}" ]; then
  display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  # In a session of its own, so Ctrl+C reaches halvo (which then ends cleanly) but not the
  # display under it.
  setsid Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$display"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
  done
  echo "run: no display; using the virtual display $DISPLAY"
  shot="$PWD/$build/halvo-main-window.png"
  echo "run: measuring once (the paced simulator takes about half a minute)"
  "$bin/halvo-shot" "$shot" 300 >/dev/null
  echo "run: screenshot of the main window after a measurement: $shot"
fi

echo "run: halvo is running (DISPLAY=$DISPLAY); Ctrl+C ends it and the simulator"
"$bin/halvo" &
pids+=($!)
wait "${pids[-1]}" || true
