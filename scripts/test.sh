#!/usr/bin/env bash
# Builds everything and runs every test: each test executable once whole, then every test alone
# under CTest. Usage: scripts/test.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scripts/setup.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
scripts/run-whole.sh "$build"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
