#!/usr/bin/env bash
# Makes the Debian package of this build, unpacks it into a scratch root with dpkg-deb -x,
# checks its files and runs the installed programs' --help.
set -euo pipefail
build="$1"
scratch=$(mktemp -d /tmp/halvo-package-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/out/halvo_*.deb)
dpkg-deb -x "$deb" "$scratch/root"

status=0
expect() {
  if [ ! -e "$scratch/root$1" ]; then
    echo "missing from the package: $1"
    status=1
  fi
}
for program in halvo halvo-station halvo-sim halvo-wsx halvo-cfg; do
  expect "/usr/bin/$program"
  expect "/usr/share/man/man1/$program.1"
done
expect /usr/bin/halvo-wsx-plot
expect /usr/share/applications/halvo.desktop
expect /usr/share/icons/hicolor/scalable/apps/halvo.svg
expect /usr/lib/systemd/system/halvo-station.service
expect /usr/lib/sysusers.d/halvo.conf

# The control data: dependencies found by dpkg-shlibdeps, the maintainer scripts.
control=$(dpkg-deb -f "$deb" Depends)
case "$control" in
  *libc6*) ;;
  *) echo "no shared-library dependencies in Depends: '$control'"; status=1 ;;
esac
dpkg-deb -e "$deb" "$scratch/control"
[ -x "$scratch/control/postinst" ] || { echo "no postinst"; status=1; }
grep -q '^ExecStart=/usr/bin/halvo-station --home /var/lib/halvo$' \
  "$scratch/root/usr/lib/systemd/system/halvo-station.service" ||
  { echo "the unit does not start the installed station"; status=1; }

"$scratch/root/usr/bin/halvo-station" --help | grep -q -- '--home DIR' ||
  { echo "halvo-station --help failed"; status=1; }
"$scratch/root/usr/bin/halvo-wsx" --help | grep -q 'halvo-wsx' ||
  { echo "halvo-wsx --help failed"; status=1; }
exit $status
