#!/bin/bash
# Capture + BMP save time at 1920x1080x24 under Xvfb, median of 10 runs.
# Usage: scripts/bench/capture.sh [BUILD_DIR]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/linux}" && pwd)
. "$root/tests/e2e/session.sh"
E2E_SCREEN=1920x1080x24 e2e_start_display
e2e_start_logind_mock
# Something on screen to copy.
mkdir -p "$e2e_dir/out"
convert -size 1920x1080 gradient:'#203050-#f0c040' "$e2e_dir/background.png"
display -window root "$e2e_dir/background.png"
"$build/bench/capture_bench" "$e2e_dir/out" 10
