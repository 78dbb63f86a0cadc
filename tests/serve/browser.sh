#!/usr/bin/env bash
# Runs the device page's browser test with the project's one browser toolchain (tests/browser).
# Usage: browser.sh BUILD_DIR [--screenshot FILE.png]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
toolchain="$here/../browser"
build="$(cd "${1:?usage: browser.sh BUILD_DIR [--screenshot FILE.png]}" && pwd)"
shift
if [ ! -d "$toolchain/node_modules/playwright-core" ]; then
  (cd "$toolchain" && npm ci --no-audit --no-fund --silent)
fi
exec node "$here/serve.test.mjs" "$build" "$@"
