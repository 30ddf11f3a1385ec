#!/usr/bin/env bash
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
build="$root/build/sanitize"

# The window's folders may not be there yet; the rest is still worth checking.
ui=ON
if [ ! -f "$root/ui/CMakeLists.txt" ] || [ ! -f "$root/app/CMakeLists.txt" ]; then
  echo "ui/ or app/ has no CMakeLists.txt yet: sanitizing without the window"
  ui=OFF
fi
# No -Werror here: GCC's -Wmaybe-uninitialized misfires inside instrumented
# library code (std::regex); scripts/test.sh is the warnings gate.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTORIL_SANITIZE=ON \
  -DVANTORIL_BUILD_UI="$ui" -DVANTORIL_BUILD_TESTS=ON -DVANTORIL_BUILD_BENCH=OFF -DVANTORIL_WERROR=OFF >/dev/null
cmake --build "$build" -j "$jobs"

# Leaks allocated and owned inside uninstrumented system libraries: font and
# X connection caches, D-Bus, GLib type registries, Qt's platform plugins
# and its Wayland client, which leaves its protocol objects to the exit.
supp="$build/lsan.supp"
cat >"$supp" <<'EOF'
leak:libfontconfig.so
leak:libfreetype.so
leak:libxcb
leak:libX11.so
leak:libxkbcommon
leak:libdbus-1.so
leak:libglib-2.0.so
leak:libgobject-2.0.so
leak:libEGL
leak:libGLX
leak:libqxcb.so
leak:libqoffscreen.so
leak:libwayland-client.so
leak:libQt6WaylandClient.so
EOF

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:print_summary=1"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:print_summary=1"
export QT_QPA_PLATFORM=offscreen
# The instrumented monkey session runs about seven times slower; a fifth of
# its events keeps it well inside its timeout (scripts/test.sh runs them all).
export VANTORIL_MONKEY_EVENTS="${VANTORIL_MONKEY_EVENTS:-200000}"
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
