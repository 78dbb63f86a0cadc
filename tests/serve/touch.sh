#!/usr/bin/env bash
# Runs the browser test of the phone's gestures and input with the project's browser toolchain.
# Usage: touch.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
toolchain="$here/../browser"
build="$(cd "${1:?usage: touch.sh BUILD_DIR}" && pwd)"
if [ ! -d "$toolchain/node_modules/playwright-core" ]; then
  (cd "$toolchain" && npm ci --no-audit --no-fund --silent)
fi
exec node "$here/touch.test.mjs" "$build"
