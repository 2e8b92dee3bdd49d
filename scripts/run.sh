#!/usr/bin/env bash
# Builds the program and opens a log (the sample QEL log when none is named).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
BUILD_TARGET=dravolin scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
log=${1:-samples/Q5_sample.qel}
exec build/dravolin "$(realpath "$log")"
