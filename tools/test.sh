#!/usr/bin/env bash
# Sets up the machine (Debian 12, root), builds every preset and runs every
# test: the native core on Mesa (also under the sanitizers), the screensaver
# under Wine, the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-debian.sh

presets=(native sanitize windows windows64 fuzz)
for preset in "${presets[@]}"; do
    echo "== build: $preset"
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j 2
done

failed=()
for preset in "${presets[@]}"; do
    echo "== test: $preset"
    ctest --preset "$preset" || failed+=("$preset")
done

if [ "${#failed[@]}" -gt 0 ]; then
    echo "== tests failed in: ${failed[*]}"
    exit 1
fi
echo "== all tests passed"
