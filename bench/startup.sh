#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up time and peak memory of the program against two floors, a bare Qt
# window of the same size and the same window with one label (which pays the
# font system's first use, as any window showing text does), all under one
# private Xvfb, run in turns so drift hits all three.
# Start-up is from launch (the shell's clock just before exec) to the first
# frame painted and flushed, as each program reports it with
# VANTORIL_STARTUP_PROBE=exit; peak resident memory is /usr/bin/time's %M.
# The CPU time of the whole run (to first paint, then a prompt exit) is shown
# too: on a busy machine it scatters far less than the wall clock.
#
#   bench/startup.sh [runs] [build dir]     (defaults: 30, build/bench)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-30}"
build="${2:-$root/build/bench}"
real="$build/app/vantoriltime"
bare="$build/bench/bare_window"
label="$build/bench/label_window"
for program in "$real" "$bare" "$label"; do
  [ -x "$program" ] || { echo "missing $program: build the tree first (bench/run.sh does)" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 number <"$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

now_us() { local t="$EPOCHREALTIME"; echo "${t//[.,]/}"; }

# One launch: appends start-up ms, peak RSS KiB and CPU ms to the program's files.
measure() {
  local program="$1" name="$2" start paint
  start="$(now_us)"
  env VANTORIL_STARTUP_PROBE=exit timeout 30 /usr/bin/time -f '%M %U %S' -o "$work/rss" "$program" >"$work/out" 2>"$work/err" || {
    echo "$name failed:" >&2; cat "$work/err" >&2; exit 1; }
  paint="$(sed -n 's/.*first-paint-epoch-us=\([0-9]*\).*/\1/p' "$work/out")"
  [ -n "$paint" ] || { echo "$name printed no first paint" >&2; cat "$work/out" "$work/err" >&2; exit 1; }
  awk -v p="$paint" -v s="$start" 'BEGIN { printf "%.3f\n", (p - s) / 1000 }' >>"$work/$name.ms"
  tail -n 1 "$work/rss" | awk '{ print $1 }' >>"$work/$name.kib"
  tail -n 1 "$work/rss" | awk '{ printf "%.0f\n", ($2 + $3) * 1000 }' >>"$work/$name.cpu"
}

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm the page cache and fontconfig's cache first; neither run is counted.
measure "$real" warmup
measure "$bare" warmup
measure "$label" warmup
for ((i = 0; i < runs; i++)); do
  case $((i % 3)) in
    0) measure "$real" real; measure "$bare" bare; measure "$label" label ;;
    1) measure "$label" label; measure "$real" real; measure "$bare" bare ;;
    *) measure "$bare" bare; measure "$label" label; measure "$real" real ;;
  esac
done

summary() {
  awk -v runs="$runs" -v rm="$(median "$work/real.ms")" -v bm="$(median "$work/bare.ms")" \
      -v lm="$(median "$work/label.ms")" \
      -v rk="$(median "$work/real.kib")" -v bk="$(median "$work/bare.kib")" -v lk="$(median "$work/label.kib")" \
      -v rc="$(median "$work/real.cpu")" -v bc="$(median "$work/bare.cpu")" -v lc="$(median "$work/label.cpu")" 'BEGIN {
    printf "start-up to first paint, median of %d: real %.1f ms, one-label %.1f ms, bare %.1f ms\n", runs, rm, lm, bm
    printf "start-up ratios: real / one-label %.2f (target <= 1.10), real / bare %.2f, one-label / bare %.2f\n",
           rm / lm, rm / bm, lm / bm
    printf "peak resident memory, median of %d: real %.1f MiB, one-label %.1f MiB (+%.1f MiB, target <= 3), bare %.1f MiB (+%.1f MiB)\n",
           runs, rk / 1024, lk / 1024, (rk - lk) / 1024, bk / 1024, (rk - bk) / 1024
    printf "CPU time of a run, median of %d: real %.0f ms, one-label %.0f ms, bare %.0f ms; real / one-label %.2f (10 ms ticks)\n",
           runs, rc, lc, bc, (lc > 0 ? rc / lc : 0)
  }'
}
summary
