#!/usr/bin/env bash
# Builds VantorilTime and starts its window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVANTORIL_BUILD_TESTS=OFF -DVANTORIL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target vantoriltime
exec "$build/app/vantoriltime" "$@"
