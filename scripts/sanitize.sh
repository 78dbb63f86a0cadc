#!/usr/bin/env bash
# Builds into build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test there. Usage: scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build=build-asan
jobs="${ZIMTONE_JOBS:-$(nproc)}"
scripts/setup.sh
# -O1 without debug info keeps the instrumented build quick; the benchmarks are not needed here.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 -DZIMTONE_SANITIZE=ON \
  -DZIMTONE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$jobs"
# Host processes started by the tests inherit these, so every process of the run is checked.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
start=$SECONDS
status=0
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 900 "$@" || status=$?
echo "sanitize: ctest finished in $((SECONDS - start)) s with status $status"
exit "$status"
