#!/usr/bin/env bash
# Builds the benchmarks in release mode into build-bench/ and runs them all.
# Usage: scripts/bench.sh [google-benchmark arguments...], e.g. --benchmark_filter=Dominant
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
scripts/setup.sh
# Message type checks are a debugging aid, off in release builds of the deliverables.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZIMTONE_TYPE_CHECKS=OFF >/dev/null
benches=(colour_bench settings_loader_bench notify_latency_bench banner_setup_bench surface_tick_bench
  surface_frame_bench surface_render_bench host_memory_bench serve_frames_bench)
cmake --build "$build" -j"${ZIMTONE_JOBS:-$(nproc)}" --target "${benches[@]}"
echo "bench: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
for bench in "${benches[@]}"; do
  "$build/bin/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
