#!/usr/bin/env bash
# Renders every page of the wizard offscreen, with the bundled example loaded, into
# BUILD_DIR/screenshots/step1.png ... step4.png (Step 2 as a new setup sees it, with the
# layout proposed), and a failure message with its reason into message.png.
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$build/src/wizard/screenshots/corvane-screenshots"
if [ ! -x "$tool" ]; then
  cmake --build "$build" --target corvane-screenshots
fi
QT_QPA_PLATFORM=offscreen "$tool" "$root" "$build/screenshots"
