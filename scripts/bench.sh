#!/usr/bin/env bash
# Runs the benchmarks of a build: bench_conversion at 20 MB, 200 MB and 1 GB of
# input, then every other bench_* program without arguments.
#   scripts/bench.sh BUILD_DIR
set -uo pipefail
build="${1:-build}"
dir="$build/bench"
if [ ! -d "$dir" ]; then
  echo "bench.sh: no benchmarks in $dir (configure with -DCORVANE_BUILD_BENCH=ON)" >&2
  exit 1
fi
status=0
if [ -x "$dir/bench_conversion" ]; then
  for size in 20 200 1000; do
    "$dir/bench_conversion" "$size" || status=1
  done
else
  echo "bench.sh: bench_conversion is not built; skipped" >&2
fi
for program in "$dir"/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  [ "$(basename "$program")" = bench_conversion ] && continue
  "$program" || status=1
done
exit $status
