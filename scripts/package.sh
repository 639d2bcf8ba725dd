#!/usr/bin/env bash
# Builds the Debian package of Halvo with CPack (dependencies found by dpkg-shlibdeps) in
# build-package/ and prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr -DHALVO_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)" \
  --target halvo halvo-station halvo-sim halvo-wsx halvo-cfg halvo_man_pages >&2
(cd build-package && cpack -G DEB >&2)
ls -1 "$PWD"/build-package/halvo_*.deb | tail -n 1
