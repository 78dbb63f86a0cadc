#!/usr/bin/env bash
# Refreshes the README's pictures of the settings pane from the browser test. Usage: scripts/screenshots.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
tests/browser/run.sh "${1:-build}" --screenshots docs
