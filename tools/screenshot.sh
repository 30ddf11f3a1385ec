#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's screenshot: starts the program under Xvfb, types the
# typical example (79°51' W, 2002-01-01 00:00 UTC), presses PRESS and saves
# the window as docs/screenshot.png (docs/screenshot@2x.png at scale 2).
# Usage: tools/screenshot.sh [path/to/vantoriltime [output folder]]
#        (the output folder defaults to docs/; another one compares releases)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
app="${1:-$root/build/test/app/vantoriltime}"
out="${2:-$root/docs}"
"$root/scripts/install-deps.sh" xvfb xdotool imagemagick
# shellcheck source=../tests/app/x_session.sh
source "$root/tests/app/own_env.sh"
source "$root/tests/app/x_session.sh"
own_environment
start_x
unset QT_QPA_PLATFORM

shoot() {
  local scale="$1" out="$2"
  QT_SCALE_FACTOR="$scale" "$app" &
  local pid=$!
  local window
  window="$(find_window)"
  xdotool windowfocus --sync "$window"
  xdotool type --delay 50 "79"
  xdotool key Tab
  xdotool type --delay 50 "51"
  xdotool key Tab Tab Down
  # Centre of PRESS, in the window's pixels.
  xdotool mousemove --window "$window" $((364 * scale)) $((132 * scale)) click 1
  sleep 0.5
  xdotool mousemove --window "$window" 0 0
  sleep 0.2
  import -window "$window" "$out"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "wrote $out"
}

shoot 1 "$out/screenshot.png"
shoot 2 "$out/screenshot@2x.png"
