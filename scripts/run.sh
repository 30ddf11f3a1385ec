#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds VantorilTime and starts its window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# The window needs a display; say so before a build that would be for nothing
# (the program says the same when it finds none).
platform_asked() { case " $* " in *" -platform "* | *" --platform "*) return 0 ;; esac; return 1; }
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${WAYLAND_SOCKET:-}${QT_QPA_PLATFORM:-}" ] &&
  ! [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/wayland-0" ] && ! platform_asked "$@"; then
  echo "vantoriltime: no display to show the window on: DISPLAY and WAYLAND_DISPLAY are unset; in a terminal, use vantoril-lst" >&2
  exit 1
fi
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}"

program="$root/build/release/app/vantoriltime"
(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release)
exec "$program" "$@"
