#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each one for
# a fixed time, starting from a scratch copy of its committed seed corpus.
# Fails when any target finds a crash or a broken property; the failing input
# is kept in build/fuzz/artifacts/<target>/.
#
# Usage: scripts/fuzz.sh [seconds-per-target]    (default 30)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds-per-target]" >&2
  exit 2
fi

"$root/scripts/install-deps.sh" cmake ninja-build "${CLANG_PACKAGES[@]}" locales pkg-config liberfa-dev nettle-dev libabsl-dev libutf8proc-dev tzdata

"$root/scripts/comma-locale.sh"

build="$root/build/fuzz"
cd "$root"  # the presets (CMakePresets.json) are found from the source folder
cmake --preset fuzz -DCMAKE_CXX_COMPILER="clang++-$CLANG_VERSION" >/dev/null
targets=(fuzz_lenient_number fuzz_strict_single fuzz_number_text fuzz_compute_lst fuzz_cli_parsers fuzz_time_tables fuzz_places)
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"  # what the targets leave in it goes with it

run_target() {
  local t="$1" corpus="$work/$1/corpus" artifacts="$build/artifacts/$1/"
  mkdir -p "$corpus" "$artifacts"
  cp -r "$root/fuzz/corpus/$t/." "$corpus/"
  local dict=()
  case "$t" in fuzz_lenient_number | fuzz_strict_single) dict=(-dict="$root/fuzz/numbers.dict") ;; esac
  local rc=0
  # -max_len: long enough for 400-digit overflows, short enough to stay fast.
  "$build/fuzz/$t" -max_total_time="$seconds" -max_len=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts" "${dict[@]}" "$corpus" >"$work/$t.log" 2>&1 || rc=$?
  echo "$rc" >"$work/$t.rc"
}

# As many targets at a time as there are cores.
jobs="$(nproc)"
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run_target "$t" &
done
wait

failed=0
for t in "${targets[@]}"; do
  rc="$(cat "$work/$t.rc")"
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t.log" | tail -n 1)"
  if [ "$rc" -eq 0 ]; then
    printf '%-22s ok      %12s executions in %ss\n' "$t" "${execs:-?}" "$seconds"
  else
    failed=1
    printf '%-22s FAILED  %12s executions (exit %s); inputs kept in %s\n' "$t" "${execs:-?}" "$rc" \
      "$build/artifacts/$t/"
    grep -E -A3 'FUZZ PROPERTY VIOLATED|ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|terminate called' \
      "$work/$t.log" | head -n 40 || true
  fi
done
exit "$failed"
