#!/usr/bin/env bash
# Drives the program through a real X server as a user would: keys typed
# with the X keyboard (where Ctrl+V arrives as the text "\x16" and Delete as
# "\x7f"), clicks, message boxes dismissed with Enter, and the result copied
# out through the clipboard.
set -euo pipefail
app="$1"
# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"
start_x
unset QT_QPA_PLATFORM

"$app" &
app_pid=$!
window="$(find_window)"
[ -n "$window" ] || { echo "no window"; exit 1; }
xdotool windowfocus --sync "$window"

fail() { echo "FAIL: $*"; kill "$app_pid" 2>/dev/null; exit 1; }

# Window-relative centres of the controls (pixels).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.2; }
press() { click 364 132; }
result() {
  click 244 300
  xdotool key ctrl+a ctrl+c
  sleep 0.2
  xclip -o -selection clipboard
}
# Waits for the message box, checks there is exactly one, dismisses it with Enter.
expect_box() {
  local box
  box="$(timeout 10 xdotool search --sync --onlyvisible --name '^VantorilTime$' | head -n 1)" || fail "no message box ($1)"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^VantorilTime$' >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "message box stayed open ($1)"
}
no_box() {
  sleep 0.3
  if xdotool search --onlyvisible --name '^VantorilTime$' >/dev/null 2>&1; then fail "unexpected message box ($1)"; fi
}

press
[ "$(result)" = "6:41:54" ] || fail "fresh press: $(result)"

click 112 130                      # txtLngD
xdotool type --delay 30 "79"
no_box "digits"
xdotool key Tab
xdotool type --delay 30 "51"
xdotool key Tab Tab Down          # cmbEW -> W
press
[ "$(result)" = "1:22:30" ] || fail "typical road: $(result)"

click 112 130
xdotool key a
expect_box "letter"
xdotool key ctrl+v
expect_box "ctrl+v"
xdotool key Return
expect_box "enter in a text box"
xdotool key BackSpace Delete
no_box "backspace and delete"

click 222 194                     # cmbDate's text
xdotool key End BackSpace 7
no_box "typing into a combo"
xdotool key Home Delete Delete
press
expect_box "type mismatch"
[ "$(result)" = "1:22:30" ] || fail "result after error: $(result)"

kill -0 "$app_pid" || fail "program ended"
kill "$app_pid"
echo "real keyboard session passed"
