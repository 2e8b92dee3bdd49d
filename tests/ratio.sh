#!/usr/bin/env bash
# Lines of test code against lines of program code, per folder and in total. Code is the C++
# sources (.cpp, .h) in git or new; test data, the fuzz corpus and these scripts do not count.
cd "$(dirname "$0")/.." || exit 0

lines() {  # lines of the C++ files under the given folders
  git ls-files -co --exclude-standard -- "$@" | grep -E '\.(cpp|h)$' | grep -v -e '^tests/data/' \
    -e '^tests/fuzz/corpus/' | tr '\n' '\0' | xargs -0 -r cat | wc -l
}
row() {  # name, program lines, test lines, test folder
  local ratio=""
  [ -n "$3" ] && ((${2:-0} > 0)) && ratio="$((100 * $3 / $2)) %"
  printf '%-26s %8s %8s %7s   %s\n' "$1" "$2" "$3" "$ratio" "$4"
}

printf '%-26s %8s %8s %7s   %s\n' folder program tests ratio "tests in"
for folder in texts log chart settings app; do
  row "$folder" "$(lines "$folder")"
done
row "  these five together" "$(lines texts log chart settings app)" "$(lines tests/program)" tests/program
row platform/core "$(lines platform/core)" "$(lines tests/core)" tests/core
row platform/gui "$(lines platform/gui)" "$(lines tests/gui)" tests/gui
row "(fuzz targets)" "" "$(lines tests/fuzz)" tests/fuzz
row total "$(lines texts log chart settings app platform)" "$(lines tests)" tests
