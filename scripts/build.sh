#!/usr/bin/env bash
# build.sh <folder> [cmake options...]: configures once (again only when the options change),
# then builds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/.build-options" 2>/dev/null)" != "$*" ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
  printf '%s' "$*" > "$dir/.build-options"
fi
cmake --build "$dir" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
