#!/usr/bin/env bash
# Builds the libFuzzer drivers with clang and runs each for FUZZ_SECONDS (default 60),
# seeded from the sample LAS files and the bundled example. Findings (crash-*,
# timeout-*, oom-*) are left in the build folder and make the script fail.
#   scripts/fuzz.sh BUILD_DIR
set -euo pipefail
build="$(realpath -m "${1:-build-fuzz}")"
seconds="${FUZZ_SECONDS:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_FUZZ=ON \
    -DCORVANE_BUILD_GUI=OFF -DCORVANE_BUILD_BENCH=OFF
fi
cmake --build "$build" -j "$(nproc)"

# tests/data holds copies of the public sample LAS files.
samples=("$root"/tests/data/*.las)
status=0
for driver in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$driver" ] || continue
  name="$(basename "$driver")"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  case "$name" in
    fuzz_configuration) cp "$root"/examples/*.lah "$corpus"/ ;;
    fuzz_ascii)
      # The first four bytes choose the layout; the rest is the file.
      for asc in "$root"/examples/*.asc; do printf '\000\005\000\000' | cat - "$asc" > "$corpus/$(basename "$asc")"; done
      cp "${samples[@]}" "$corpus"/ ;;
    *) cp "${samples[@]}" "$corpus"/ ;;
  esac
  echo "fuzz: $name for $seconds s"
  (cd "$build" && "$driver" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      "$corpus" > "$build/$name.log" 2>&1) || status=1
  tail -n 12 "$build/$name.log" | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' || true
done
exit $status
