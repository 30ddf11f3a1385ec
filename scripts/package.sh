#!/usr/bin/env bash
# Builds the Debian package build/package/vantoriltime_1.00_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" dpkg-dev file

build="$root/build/package"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVANTORIL_BUILD_TESTS=OFF -DVANTORIL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target vantoriltime
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/vantoriltime_*.deb
