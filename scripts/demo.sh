#!/usr/bin/env bash
# Converts the bundled example log with its configuration and shows the start of
# the LAS file.   scripts/demo.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
mkdir -p "$build/demo"
las="$build/demo/well-7.las"
"$build/src/cli/corvane-cli" convert --config "$root/examples/well-7.lah" --first-data-line 5 \
  --ascii "$root/examples/well-7.asc" --las "$las"
echo "--- first 40 lines of $las"
head -n 40 "$las" | tr -d '\r'
