#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds VantorilTime and starts its window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}"

program="$root/build/release/app/vantoriltime"
(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release)
exec "$program" "$@"
