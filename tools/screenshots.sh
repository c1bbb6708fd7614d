#!/bin/sh
# Screenshots of the GUI in each state under Xvfb, into build/screenshots/.
# Usage: tools/screenshots.sh [BUILD_DIR]
set -e
build="${1:-build}"
cmake --build "$build" --target korvane_screenshots >/dev/null
mkdir -p "$build/screenshots"
exec xvfb-run -a -s "-screen 0 1024x768x24" "$build/tests/korvane_screenshots" "$build/screenshots"
