#!/usr/bin/env bash
# Builds Halvo and runs every test: the normal build (gcc) with all labels, then the whole suite
# again in a clang AddressSanitizer + UndefinedBehaviorSanitizer build that also runs the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=/tmp/halvo-xdg
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

echo "== build (gcc)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVO_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== tests (gcc)"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 180

echo "== build (clang, ASan + UBSan, fuzzers)"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DHALVO_SANITIZE=ON -DHALVO_FUZZ=ON -DHALVO_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests (ASan + UBSan)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 300
echo "== all tests passed"
