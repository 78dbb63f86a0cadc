#!/usr/bin/env bash
# Checks the formatting, builds everything and runs every test: each test executable once whole,
# then every test alone under CTest. Usage: scripts/test.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scripts/setup.sh
scripts/check-format.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
scripts/run-whole.sh "$build"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
