#!/usr/bin/env bash
# Builds what the benchmarks need (the native, windows and windows64
# presets) and runs them all: each figure is printed beside its baseline,
# their ratio and the target, then a table of them. A few minutes. The
# machine must have been set up once (tools/setup-debian.sh, which
# tools/test.sh runs). Pass --quick for a shorter, rougher run.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in native windows windows64; do
    cmake --preset "$preset" > /dev/null
    cmake --build --preset "$preset" -j 2
done

python3 bench/run.py "$@"
