#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ and runs each for a while on its corpus in fuzz/corpus/<target>/.
# Usage: scripts/fuzz.sh [seconds-per-target] [target...]   (default 60 s, every target)
# Inputs that crash are written to build-fuzz/crashes/<target>/; the script then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(settings_loaders_fuzz hex_codec_fuzz notify_datagram_fuzz command_line_fuzz hex_entry_fuzz
  settings_request_fuzz device_request_fuzz page_body_fuzz)
build=build-fuzz
jobs="${ZIMTONE_JOBS:-$(nproc)}"

scripts/setup.sh
# Only fuzzing needs clang and its sanitizer runtime, so they are installed here on demand.
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed"; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
status=0
for target in "${targets[@]}"; do
  corpus="fuzz/corpus/$target"
  work="$build/corpus/$target"
  crashes="$build/crashes/$target"
  mkdir -p "$corpus" "$work" "$crashes"
  echo "fuzz: $target for $seconds s"
  # New inputs go to the work corpus; fuzz/corpus stays the small committed seed set.
  if ! "$build/bin/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
       -artifact_prefix="$crashes/" -print_final_stats=1 "$work" "$corpus" 2>"$build/$target.log"; then
    status=1
    echo "fuzz: $target FAILED; see $build/$target.log and $crashes/"
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$build/$target.log" | sed "s/^/fuzz: $target /" || true
done
exit "$status"
