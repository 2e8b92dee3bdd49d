#!/usr/bin/env bash
# Builds and runs every test twice: an optimised build, then one under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

# The layout of .clang-format on every tracked source, before anything is built.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
jobs=$(nproc)

scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRAVOLIN_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DDRAVOLIN_SANITIZE=ON -DDRAVOLIN_BENCH=OFF -DDRAVOLIN_WERROR=ON
ctest --test-dir build-asan --output-on-failure -j "$jobs"
# The fuzz targets: built with clang and libFuzzer, then a short run from the seed corpus.
CC=clang CXX=clang++ BUILD_TARGET=fuzz_targets scripts/build.sh build-fuzz \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRAVOLIN_FUZZ=ON -DDRAVOLIN_BENCH=OFF -DBUILD_TESTING=OFF
for target in build-fuzz/*_fuzz; do
  name=$(basename "$target")
  work=$(mktemp -d)
  seeds=()
  [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
  if ! "$target" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 "$work" "${seeds[@]}" > "$work.log" 2>&1; then
    tail -n 60 "$work.log"
    echo "Fuzz target $name failed."
    exit 1
  fi
  echo "$name: $(grep -E '^stat::number_of_executed_units' "$work.log")"
  rm -rf "$work" "$work.log"
done

echo "All tests passed."
