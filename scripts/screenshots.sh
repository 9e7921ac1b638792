#!/usr/bin/env bash
# Renders every page of the wizard offscreen, with the bundled example loaded, into
# BUILD_DIR/screenshots/step1.png ... step4.png (Step 2 as a new setup sees it, with the
# layout proposed), step3-proposal.png (Step 3 of that new setup, its curves proposed), and
# a failure message with its reason into message.png; then the
# main window with the LAS window of the example's LAS file (las-window.png), its Check
# tab (las-check.png), its crossplot window (crossplot-window.png), its corvane-cli plot
# (plot-well-7.png) and crossplot (crossplot-well-7.png), and the pictures of the
# manual's command-line page.
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$build/src/wizard/screenshots/corvane-screenshots"
las_tool="$build/src/app/screenshots/corvane-las-screenshot"
if [ ! -x "$tool" ] || [ ! -x "$las_tool" ]; then
  cmake --build "$build" --target corvane-screenshots corvane-las-screenshot corvane-cli
fi
QT_QPA_PLATFORM=offscreen "$tool" "$root" "$build/screenshots"
las="$build/screenshots/well-7.las"
"$build/src/cli/corvane-cli" convert --config "$root/examples/well-7.lah" --first-data-line 5 \
  --ascii "$root/examples/well-7.asc" --las "$las" --quiet
# The Check tab of the example with three faults put in: an unused NULL, no SRVC line and
# a text among the readings of a row.
faulty="$build/screenshots/well-7-faults.las"
sed -e '10s/-999\.2500/-9999.0000/' -e '/^ SRVC\./d' -e '1234s/^\( *[0-9.]* *\)[0-9.]*/\1n\/a/' "$las" >"$faulty"
QT_QPA_PLATFORM=offscreen "$las_tool" "$las" "$build/screenshots/las-window.png" - \
  "$build/screenshots/crossplot-window.png"
QT_QPA_PLATFORM=offscreen "$las_tool" "$faulty" "$build/screenshots/las-window-faults.png" \
  "$build/screenshots/las-check.png"
rm -f "$build/screenshots/las-window-faults.png"
"$build/src/cli/corvane-cli" plot "$las" -o "$build/screenshots/plot-well-7.png" --size 700x1000 --quiet
"$build/src/cli/corvane-cli" crossplot "$las" -o "$build/screenshots/crossplot-well-7.png" --size 600x600 --quiet
"$build/src/cli/corvane-cli" plot "$las" -o "$build/screenshots/plot-example.png" --depth 1600:1700 --size 560x700 \
  --quiet
"$build/src/cli/corvane-cli" crossplot "$las" -o "$build/screenshots/crossplot-example.png" --size 600x600 --quiet
