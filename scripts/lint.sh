#!/usr/bin/env bash
# The tree's format (clang-format, as .clang-format says) and clang-tidy's checks
# (.clang-tidy) over src/ and python/; any finding fails.
#   scripts/lint.sh BUILD_DIR   (a configured build with compile_commands.json)
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
status=0
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'python/*.cpp' 'python/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if ! clang-format --dry-run -Werror $files; then
  echo "lint: clang-format would change the files above (run clang-format -i on them)" >&2
  status=1
fi
# Qt's generated sources (moc) and the sources of other builds are not ours to check.
if ! run-clang-tidy -p "$build" -quiet -j "$(nproc)" "$root/(src|python)/" > "$build/clang-tidy.log" 2>&1; then
  grep -E 'warning:|error:' "$build/clang-tidy.log" | sed 's/\x1b\[[0-9;]*m//g' | sort -u >&2 || true
  echo "lint: clang-tidy found the problems above" >&2
  status=1
fi
[ $status -eq 0 ] && echo "lint: format and clang-tidy clean"
exit $status
