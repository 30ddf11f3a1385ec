#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the built program on a real (virtual) X server, finds its window,
# checks its size and the size hints of the window and of a message box, and
# closes it as a user would; the program must exit 0.
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

# The size hints a window manager sizes the window by lead to that size:
# minimum and maximum are the size, and the size is a whole number of
# resize steps from the base size (ICCCM); so for a message box.
hints_lead_to_size() {
  local size
  size="$(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p')"
  xprop -id "$1" WM_NORMAL_HINTS | awk -v size="$size" -v what="$2" '
    function pair() { return $(NF - 2) "x" $NF }
    /minimum size:/ { min = pair() }
    /maximum size:/ { max = pair() }
    /resize increment:/ { step = pair() }
    /base size:/ { base = pair() }
    END {
      if (base == "") base = min
      split(size, s, "x"); split(step, i, "x"); split(base, b, "x")
      ok = min == size && max == size
      if (step != "" && ((s[1] - b[1]) % i[1] != 0 || (s[2] - b[2]) % i[2] != 0)) ok = 0
      printf "%s %s: minimum %s, maximum %s, steps %s from %s\n", what, size, min, max, step == "" ? "none" : step, base
      exit !ok
    }'
}
hints_lead_to_size "$window" "window" || { echo "the size hints lead elsewhere"; exit 1; }
xdotool windowfocus --sync "$window"
xdotool key a
box="$(timeout 20 xdotool search --sync --onlyvisible --name '^VantorilTime$' | head -n 1)"
[ -n "$box" ] || { echo "no message box after a letter"; exit 1; }
hints_lead_to_size "$box" "message box" || { echo "the message box's size hints lead elsewhere"; exit 1; }
xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^VantorilTime$' >/dev/null 2>&1 || break
  sleep 0.1
done

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
