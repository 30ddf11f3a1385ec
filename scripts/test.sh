#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds VantorilTime and proves it: the whole test suite with warnings as
# errors, then its tests that start real components three runs more, and
# once more on a user's desktop, idle and with both processors busy, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, bounded
# fuzzing of the conversions and the calculation, and static analysis.
# Any failure stops the run with a non-zero status.
#
# Usage: scripts/test.sh [--quick]     (--quick: the first stage only)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

"$root/scripts/comma-locale.sh"

# Each stage's heading, with the time the one before it took (CI has 90 minutes).
stage_start=$SECONDS
stage() {
  [ -n "${stage_name:-}" ] && printf '==== %s: %d s\n' "$stage_name" $((SECONDS - stage_start))
  stage_name="$*" stage_start=$SECONDS
  printf '\n==== %s\n' "$*"
}

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
# Adds up CTest's summary lines ("100% tests passed, 0 tests failed out of 245").
summary() {
  cat "$logs"/*.log | sed -n 's/.*tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\).*/\1 \2/p' |
    awk '{ failed += $1; total += $2 } END { printf "ctest: %d passed, %d failed\n", total - failed, failed }'
}

stage "Build with -Wall -Wextra -Wpedantic -Werror and run the test suite"
jobs="$(nproc)"
cd "$root"  # the presets (CMakePresets.json) are found from the source folder
cmake --preset test >/dev/null
cmake --build --preset test -j "$jobs"
ctest --preset test -j "$jobs" | tee "$logs/suite.log"
if [ "${1:-}" = "--quick" ]; then summary; exit 0; fi

stage "The tests that start real components (X, weston, D-Bus, lintian), three runs more"
# A test that fails one run in a few fails here, not later on a user's machine.
ctest --preset test -j "$jobs" -L 'app|packaging' --repeat until-fail:3 | tee "$logs/repeat.log"

stage "The tests that start real components on a user's desktop, then with both processors busy"
# A desktop's xdg-utils and GTK theme, Qt scaled to 125 %, a German locale, a
# far zone, a home of vantoril-lst's files, a bus and displays of the user's
# own (scripts/user-desktop.sh): none may reach the tests.
"$root/scripts/install-deps.sh" "${USER_DESKTOP_PACKAGES[@]}"
"$root/scripts/user-desktop.sh" ctest --preset test -j "$jobs" -L app | tee "$logs/user-desktop.log"
"$root/scripts/user-desktop.sh" --busy ctest --preset test -j "$jobs" -L app | tee "$logs/user-desktop-busy.log"

stage "The command line's benchmark on a tiny input, so that it still runs to its end"
"$root/bench/cli_bench.sh" --tiny

stage "The test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/scripts/sanitize.sh" | tee "$logs/sanitize.log"

stage "Fuzzing, 30 s a target"
"$root/scripts/fuzz.sh" 30

stage "Static analysis: clang-tidy, cppcheck and clang-format"
"$root/scripts/static-analysis.sh"

stage "All stages passed"
summary
