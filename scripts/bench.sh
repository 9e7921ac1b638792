#!/usr/bin/env bash
# Runs the benchmarks of a build: bench_conversion at 20 MB, 200 MB and 1 GB of
# input, with bench_check (the LAS check at 20 MB and 200 MB) right after the 200 MB
# conversion so that the two speeds stand side by side, then every other bench_*
# program without arguments (bench_batch: 40 files of 20 MB with --jobs 1 and 2;
# bench_python: corvane.read against numpy.loadtxt on 60 MB of 400 curves and 200 MB of 20).
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
    if [ "$size" = 200 ] && [ -x "$dir/bench_check" ]; then
      "$dir/bench_check" || status=1
    fi
  done
else
  echo "bench.sh: bench_conversion is not built; skipped" >&2
  if [ -x "$dir/bench_check" ]; then "$dir/bench_check" || status=1; fi
fi
for program in "$dir"/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  case "$(basename "$program")" in bench_conversion | bench_check) continue ;; esac
  "$program" || status=1
done
exit $status
