#!/usr/bin/env bash
# Runs every test executable once as a whole process. CTest runs each test in a process of its
# own, which hides a test that leans on what an earlier one left behind (an observer, a file, a
# global); here such a test fails. Usage: scripts/run-whole.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
jobs="${ZIMTONE_JOBS:-$(nproc)}"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

shopt -s nullglob
executables=("$build"/bin/*_tests)
if ((${#executables[@]} == 0)); then
  echo "run-whole: no test executables in $build/bin; build first" >&2
  exit 1
fi

# Each executable writes its log and, on failure, a marker; the logs of failures are shown whole.
printf '%s\n' "${executables[@]}" |
  xargs -P "$jobs" -I{} bash -c \
    'name="$(basename "$1")"; "$1" >"$2/$name.log" 2>&1 || touch "$2/$name.failed"' _ {} "$logs"

failed=0
for exe in "${executables[@]}"; do
  name="$(basename "$exe")"
  if [ -e "$logs/$name.failed" ]; then
    failed=$((failed + 1))
    echo "run-whole: $name failed when run whole:"
    grep -E '^\[  FAILED  \]|Failure|error' "$logs/$name.log" | head -40 || tail -40 "$logs/$name.log"
  fi
done
echo "run-whole: $((${#executables[@]} - failed)) executables passed whole, $failed failed"
((failed == 0))
