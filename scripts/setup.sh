#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Quick when all are present.
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libplist-dev libpng-dev libcairo2-dev libpango1.0-dev fonts-dejavu-core
  fonts-inter libcpp-httplib-dev nlohmann-json3-dev libcli11-dev
  chromium
)
# Node.js with npm drives the browser tests; machines that already have them (often from another
# source whose nodejs bundles npm) keep theirs.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
