#!/usr/bin/env bash
# Converts the bundled example log with its configuration, shows the start of the LAS
# file and draws its log plot.   scripts/demo.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
mkdir -p "$build/demo"
las="$build/demo/well-7.las"
"$build/src/cli/corvane-cli" convert --config "$root/examples/well-7.lah" --first-data-line 5 \
  --ascii "$root/examples/well-7.asc" --las "$las"
echo "--- first 40 lines of $las"
head -n 40 "$las" | tr -d '\r'
if [ -x "$build/src/cli/corvane-cli" ] && "$build/src/cli/corvane-cli" plot --help >/dev/null 2>&1; then
  plot="$build/demo/well-7.png"
  "$build/src/cli/corvane-cli" plot "$las" -o "$plot" --size 700x1000 --quiet
  echo "--- the log plot of $las: $plot"
fi
