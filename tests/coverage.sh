#!/usr/bin/env bash
# Line coverage of the program folders by the whole test suite, per folder and in total, from an
# unoptimised build with gcov counters in build-coverage/. usage: tests/coverage.sh [-jN]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${1:--j4}
dir=build-coverage
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAVOLIN_BENCH=OFF \
    -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_C_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage
fi
cmake --build "$dir" "$jobs"

# Counters of an earlier run would add up with this one's.
find "$dir" -name '*.gcda' -delete
mkdir -p "$dir/tmp"
QT_QPA_PLATFORM=offscreen TMPDIR="$PWD/$dir/tmp" ctest --test-dir "$dir" "$jobs" --timeout 300 \
  > "$dir/ctest.log" || echo "Some tests failed (see $dir/ctest.log); coverage is of the run as it went."
rm -rf "$dir/tmp"

# gcov reads each object's counters (an object no test ran has none: its lines count as not run);
# a line counts as covered when any object ran it, as headers are compiled into many objects.
find "$dir" -name '*.gcno' -print0 |
  xargs -0 -r gcov --json-format --stdout 2>/dev/null |
  python3 -c '
import json, os, sys
folders = ["texts", "log", "chart", "settings", "app", "platform/core", "platform/gui"]
root = os.getcwd() + "/"
hit = {}
for doc in sys.stdin:
    doc = json.loads(doc)
    doc_dir = doc.get("current_working_directory", root)
    for f in doc["files"]:
        # Relative names (a compiler cache rewrites them so) are from the folder gcov was run in.
        name = os.path.normpath(os.path.join(doc_dir, f["file"]))
        if not name.startswith(root):
            continue
        lines = hit.setdefault(name[len(root):], {})
        for line in f["lines"]:
            lines[line["line_number"]] = lines.get(line["line_number"], False) or line["count"] > 0
def show(name, files):
    run = sum(sum(hit[f].values()) for f in files)
    all = sum(len(hit[f]) for f in files)
    print(f"{name:15} {run:6} of {all:6} lines  {100 * run / max(all, 1):5.1f} %")
for folder in folders:
    show(folder, [f for f in hit if f.startswith(folder + "/")])
show("total", [f for f in hit if any(f.startswith(d + "/") for d in folders)])
'
