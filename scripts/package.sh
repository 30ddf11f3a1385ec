#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package build/package/vantoriltime_1.00_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" dpkg-dev file

cd "$root"  # the presets (CMakePresets.json) are found from the source folder
cmake --preset package >/dev/null
cmake --build --preset package
cpack --preset package >/dev/null
ls "$root"/build/package/vantoriltime_*.deb
