#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the built program on a real (virtual) X server, finds its window,
# checks its size, and closes it as a user would; the program must exit 0.
set -euo pipefail
app="$1"
closer="$2"
scale="${3:-1}"
# shellcheck source=own_env.sh
source "$(dirname "$0")/own_env.sh"
# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"
own_environment
start_x

QT_SCALE_FACTOR="$scale" "$app" &
app_pid=$!
window="$(find_window)"
[ -n "$window" ] || { echo "no window titled 'Vantoril Time'"; exit 1; }

size="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
# Qt rounds the scaled size to the nearest device pixel (323 x 1.25 = 403.75 -> 404).
expected="$(awk -v s="$scale" 'BEGIN { printf "%dx%d", 484 * s + 0.5, 323 * s + 0.5 }')"
echo "window $window at scale $scale: $size"
[ "$size" = "$expected" ] || { echo "expected $expected"; exit 1; }

"$closer" "$window"
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "program still running after close"
  kill "$app_pid"
  exit 1
fi
wait "$app_pid"
echo "closed cleanly"
