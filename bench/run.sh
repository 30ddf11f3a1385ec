#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds a Release tree in build/bench and runs every benchmark: the engine's
# arithmetic, one PRESS through the window, and the start-up against a bare
# Qt window. Prints medians (these machines are noisy) and a short summary.
#
#   bench/run.sh [start-up runs]     (default 30)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-30}"
# shellcheck source=SCRIPTDIR/../scripts/packages.sh
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" libbenchmark-dev xvfb time

build="$root/build/bench"
(cd "$root" && cmake --preset bench >/dev/null && cmake --build --preset bench)

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
repeat=(--benchmark_repetitions=10 --benchmark_report_aggregates_only=true --benchmark_out_format=json)

echo "== engine: ComputeLst + FormatLst"
"$build/bench/engine_bench" "${repeat[@]}" --benchmark_out="$out/engine.json"
echo "== window: one PRESS (offscreen)"
QT_QPA_PLATFORM=offscreen "$build/bench/window_bench" "${repeat[@]}" --benchmark_out="$out/window.json"
echo "== start-up: program vs bare Qt window under Xvfb, $runs runs each"
"$root/bench/startup.sh" "$runs" "$build" | tee "$out/startup.txt"

# Median real time of one benchmark from Google Benchmark's JSON, in ns.
median_ns() {
  python3 - "$1" "$2" <<'PY'
import json, sys
scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b["name"] == sys.argv[2] + "_median":
        print(b["real_time"] * scale[b["time_unit"]])
PY
}
engine_ns="$(median_ns "$out/engine.json" BM_ComputeAndFormat/manual_time 2>/dev/null || true)"
[ -n "$engine_ns" ] || engine_ns="$(median_ns "$out/engine.json" BM_ComputeAndFormat)"
press_ns="$(median_ns "$out/window.json" BM_PressMouseClickToResult/manual_time)"
signal_ns="$(median_ns "$out/window.json" BM_PressSignalToResult/manual_time)"
paint_ns="$(median_ns "$out/window.json" BM_PressMouseClickAndRepaint/manual_time)"

echo
echo "== summary (medians)"
awk -v e="$engine_ns" -v p="$press_ns" -v s="$signal_ns" -v r="$paint_ns" 'BEGIN {
  printf "engine: %.0f ns per compute and format\n", e
  printf "press, click to result text: %.1f us (target <= 50 us; %.0fx the engine); click() alone %.1f us; with repaint %.1f us\n",
         p / 1000, p / e, s / 1000, r / 1000
}'
grep -E '^(start-up|peak|CPU)' "$out/startup.txt"
echo "load average while running: $(cut -d' ' -f1-3 /proc/loadavg) (on $(nproc) cores; start-up times scatter when it is high)"
