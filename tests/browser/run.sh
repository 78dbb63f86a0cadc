#!/usr/bin/env bash
# Runs the browser tests of the Settings app's web page. Usage: run.sh BUILD_DIR [--screenshots DIR]
# Installs the pinned playwright-core from package-lock.json the first time.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run.sh BUILD_DIR [--screenshots DIR]}" && pwd)"
shift
if [ ! -d "$here/node_modules/playwright-core" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --silent)
fi
exec node "$here/settings.test.mjs" "$build" "$@"
