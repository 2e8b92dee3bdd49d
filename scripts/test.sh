#!/usr/bin/env bash
# Builds and runs every test twice: an optimised build, then one under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DDRAVOLIN_SANITIZE=ON -DDRAVOLIN_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "All tests passed."
