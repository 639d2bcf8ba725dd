# Sourced by the soak scripts: builds what they run and prepares a run folder for halvo.
#
#   soak_prepare NAME     sets $run (a new folder with ports/, data/ and a copy of halvo) and
#                         $longitude (a site whose solar noon is now, so the sun stays up), and
#                         writes an Orvel.cfg there: COM1, a 1-minute period over the whole day,
#                         interval measurement started by itself.
soak_prepare() {
  bash scripts/setup.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target halvo halvo-sim halvo-cfg halvo-wsx >/dev/null

  run=$(mktemp -d "/tmp/halvo-$1.XXXXXX")
  mkdir -p "$run/ports" "$run/data"
  cp build/bin/halvo "$run/"
  export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/halvo-xdg}
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

  local now
  now=$((10#$(date -u +%H) * 60 + 10#$(date -u +%M)))
  longitude=$(awk -v m="$now" 'BEGIN { l = (720 - m) / 4; if (l > 180) l -= 360; printf "%.2f", l }')
  build/bin/halvo-cfg --port 1 --longitude "$longitude" --latitude 35 --from 00:00 --to 23:59 \
    --period 60 --data-folder "$run/data" --auto-start 1 "$run/Orvel.cfg" >/dev/null
}
