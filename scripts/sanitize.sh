#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything with AddressSanitizer + UndefinedBehaviorSanitizer (leak
# checking included) and runs the whole test suite. The first report fails
# the run. Qt and the system libraries are not instrumented; leaks that are
# entirely theirs are suppressed, anything reached from our code is not.
#
# Usage: scripts/sanitize.sh [extra ctest arguments, e.g. -L monkey or -LE app]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

"$root/scripts/comma-locale.sh"

jobs="$(nproc)"
cd "$root"  # the presets (CMakePresets.json) are found from the source folder
# The sanitizer options and the leak suppressions (scripts/lsan.supp) are in
# the sanitize test preset, so an IDE runs the tests the same way.
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"

# The instrumented monkey session runs about seven times slower; a fifth of
# its events keeps it well inside its timeout (scripts/test.sh runs them all).
export VANTORIL_MONKEY_EVENTS="${VANTORIL_MONKEY_EVENTS:-200000}"
ctest --preset sanitize -j "$jobs" "$@"
