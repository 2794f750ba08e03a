#!/usr/bin/env bash
# The main job: sets up the machine (Debian 12, root), builds the screensaver
# and runs it full screen under Wine: on the current X display when there is
# one, otherwise on a virtual screen for a few seconds, leaving a screenshot.
#
# usage: run-screensaver.sh [seconds] [WIDTHxHEIGHT]
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-debian.sh
for preset in windows windows64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j 2
done
exec python3 tools/run_screensaver.py "${1:-10}" "${2:-640x480}"
