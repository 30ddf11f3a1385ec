#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the built program as a native Wayland client of a private weston and
# proves from the client's protocol log (WAYLAND_DEBUG=1) what the compositor
# saw and sent.
#
#   wayland_test.sh headless APP   weston's headless backend: the window asks
#                                  for the title "Vantoril Time" and a fixed
#                                  484 x 323 size, and is mapped
#   wayland_test.sh input APP      weston's X11 backend inside a private Xvfb,
#                                  because the headless backend has no seat:
#                                  a key and a PRESS click reach the program
#                                  through the compositor, the hand pointer is
#                                  the program's own, and closing the window
#                                  ends the program with status 0
#
# KEEP_LOG=FILE keeps a copy of the protocol log.
set -euo pipefail
mode=${1:?mode: headless or input}
app=${2:?program}
here=$(dirname "$0")

runtime=$(mktemp -d)
chmod 0700 "$runtime"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "${KEEP_LOG:-}" ]; then cp "$log" "$KEEP_LOG"; fi
  rm -rf "$runtime"
}
trap cleanup EXIT
log=$runtime/protocol.log

fail() {
  echo "FAIL: $*"
  echo "---- weston log"; tail -n 20 "$runtime/weston.log" 2>/dev/null || true
  echo "---- protocol log (last lines)"; tail -n 30 "$log" 2>/dev/null || true
  exit 1
}

# The protocol log from line $1 on (default: all of it), in one spelling:
# libwayland 1.21 (Debian 12) writes objects as wl_surface@18, 1.23 (Debian
# 13) as wl_surface#18 and puts the event queue's name, {Default Queue},
# before many lines.
read_log() {
  tail -n "+${1:-1}" "$log" | sed -E 's/([A-Za-z0-9_])#([0-9]+)/\1@\2/g; s/\{[^}]*\} *//'
}

# Waits up to 10 s for an extended regular expression to match a line of the
# protocol log after line $2 (default: anywhere); prints the last match.
wait_log() {
  local pattern=$1 after=${2:-0} match
  for _ in $(seq 100); do
    match=$(read_log "$((after + 1))" | grep -E -- "$pattern" | tail -n 1) || true
    if [ -n "$match" ]; then
      printf '%s\n' "$match"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
lines() { wc -l <"$log"; }

start_weston() {
  export XDG_RUNTIME_DIR=$runtime
  local socket=vantoril-$$
  weston --socket="$socket" --no-config --log="$runtime/weston.log" "$@" &
  pids+=($!)
  for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "${pids[-1]}" 2>/dev/null || fail "weston ended at start-up"
    sleep 0.1
  done
  [ -S "$runtime/$socket" ] || fail "weston made no socket"
  export WAYLAND_DISPLAY=$socket
}

start_app() {
  # In a sanitizer build: Qt's Wayland client loads Mesa's EGL driver and
  # unloads it again; only the slow unwinder records the leak reports' stacks
  # past the unloaded driver, into the libraries the suppressions name (the
  # leak checker reads its own options, the allocator the address sanitizer's).
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0" \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}fast_unwind_on_malloc=0" \
    QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$app" >"$log" 2>&1 &
  app_pid=$!
  pids+=("$app_pid")
}

# The window's toplevel, xdg_toplevel@T, carries the title; it was made from
# xdg_surface@S ($xdg), which was made for wl_surface@W ($surface).
find_toplevel() {
  local title
  title=$(wait_log 'xdg_toplevel@[0-9]+\.set_title\("Vantoril Time"\)') || fail "no toplevel titled 'Vantoril Time'"
  toplevel=$(grep -oE 'xdg_toplevel@[0-9]+' <<<"$title")
  xdg=$(read_log | grep -E "get_toplevel\(new id $toplevel\)" | grep -oE 'xdg_surface@[0-9]+' | head -n 1)
  surface=$(read_log | grep -E "get_xdg_surface\(new id $xdg, " | grep -oE 'wl_surface@[0-9]+' | head -n 1)
  [ -n "$surface" ] || fail "no surface for $toplevel"
  echo "window: $toplevel on $surface"
}

check_window() {
  find_toplevel
  wait_log "$toplevel\.set_min_size\(484, 323\)" >/dev/null || fail "minimum size is not 484 x 323"
  wait_log "$toplevel\.set_max_size\(484, 323\)" >/dev/null || fail "maximum size is not 484 x 323"
  # Mapped: the compositor configured it and a buffer was committed after the acknowledgement.
  local acked
  acked=$(wait_log "$xdg\.ack_configure\(") || fail "the window was never configured"
  wait_log "$surface\.attach\(wl_buffer@" "$(read_log | grep -nF -- "$acked" | head -n 1 | cut -d: -f1)" >/dev/null \
    || fail "no buffer committed after the configure"
  echo "title 'Vantoril Time', fixed 484 x 323, mapped"
}

# A message box is a toplevel of its own titled "VantorilTime"; waits for the
# next one after line $1, dismisses it with Enter and waits until it is gone.
expect_box() {
  local title box
  title=$(wait_log 'xdg_toplevel@[0-9]+\.set_title\("VantorilTime"\)' "$1") || fail "no message box ($2)"
  box=$(grep -oE 'xdg_toplevel@[0-9]+' <<<"$title")
  # The box takes the keyboard before Enter can reach it.
  wait_log 'wl_keyboard@[0-9]+\.enter\(' "$(read_log | grep -nF -- "$title" | cut -d: -f1)" >/dev/null \
    || fail "message box has no keyboard ($2)"
  xdotool key Return
  wait_log "$box\.destroy\(\)" "$1" >/dev/null || fail "message box stayed open ($2)"
  echo "message box ($2) shown and dismissed"
}

# Clicks at a point of the window's surface once the client has seen the
# pointer arrive there, so no click lands where the pointer was before.
click_surface() {
  local mark
  mark=$(lines)
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2))
  wait_log "wl_pointer@[0-9]+\.(enter\([0-9]+, $surface, |motion\([0-9]+, )$1\.0+, $2\.0+\)" "$mark" >/dev/null \
    || fail "the pointer never reached $1,$2"
  xdotool click 1
  wait_log 'wl_pointer@[0-9]+\.button\([0-9]+, [0-9]+, 272, 0\)' "$mark" >/dev/null || fail "no click arrived at $1,$2"
}
# Clicks at a point given relative to the window's content.
click() { click_surface $((content_x + $1)) $((content_y + $2)); }

# Finds where the compositor put the window on its output, from the pointer
# events it sends: weston 10 centres a new window, weston 14 places it at
# random. Sets origin_x, origin_y: the surface's top left in output pixels.
find_origin() {
  # Xvfb starts the pointer at its screen's centre, inside weston's output
  # window, and weston, which never saw it enter, would ignore the moves that
  # follow: take it out of the output first.
  xdotool mousemove 1270 1010
  # The window is at least 484 x 356 on an 800 x 600 output below weston's
  # panel, so one of these points lies on it wherever it was placed.
  local x y mark motion sx sy
  for y in 150 450; do
    for x in 100 340 580; do
      mark=$(lines)
      xdotool mousemove "$x" "$y"
      for _ in $(seq 10); do
        motion=$(read_log "$((mark + 1))" |
          grep -E "wl_pointer@[0-9]+\.(enter\([0-9]+, $surface, |motion\([0-9]+, )" | tail -n 1) || true
        [ -n "$motion" ] && break
        sleep 0.1
      done
      if [ -n "$motion" ]; then
        read -r sx sy <<<"$(grep -oE '[0-9]+\.[0-9]+' <<<"$motion" | tail -n 2 | cut -d. -f1 | tr '\n' ' ')"
        origin_x=$((x - sx))
        origin_y=$((y - sy))
        return 0
      fi
    done
  done
  fail "the pointer never entered the window"
}

check_input() {
  find_toplevel
  wait_log "wl_keyboard@[0-9]+\.enter\([0-9]+, $surface," >/dev/null || fail "the window never got the keyboard"

  # A letter in the longitude box, which has the focus: the program's own
  # key procedure answers with its message box.
  local mark
  mark=$(lines)
  xdotool key a
  wait_log 'wl_keyboard@[0-9]+\.key\([0-9]+, [0-9]+, 30, 1\)' "$mark" >/dev/null || fail "the key 'a' never arrived"
  expect_box "$mark" "Type only Numbers"

  find_origin
  # The client-side title bar sits above the content; the opaque region is the content.
  read -r content_x content_y <<<"$(read_log | sed -nE 's/.*wl_region@[0-9]+\.add\(([0-9]+), ([0-9]+), 484, 323\).*/\1 \2/p' |
    tail -n 1)"
  [ -n "${content_y:-}" ] || fail "no opaque region of 484 x 323"
  echo "window at $origin_x,$origin_y, content at +$content_x,+$content_y"

  # Clear the date box, then PRESS: the calculation stops with its error box.
  mark=$(lines)
  click 222 194
  xdotool key Home Delete Delete
  click 364 132
  expect_box "$mark" "Type mismatch after PRESS"

  # Over the credits line the pointer is the program's own hand, which on
  # Wayland the client draws itself (hot spot 10,1).
  mark=$(lines)
  xdotool mousemove $((origin_x + content_x + 396)) $((origin_y + content_y + 304))
  wait_log 'wl_pointer@[0-9]+\.set_cursor\([0-9]+, wl_surface@[0-9]+, 10, 1\)' "$mark" >/dev/null \
    || fail "no hand pointer over the credits line"

  # The close button of the title bar Qt draws (weston leaves decorations to clients).
  local width
  width=$(read_log | sed -nE "s/.*$xdg\.set_window_geometry\(0, 0, ([0-9]+), [0-9]+\).*/\1/p" | tail -n 1)
  click_surface $((width - 17)) $((content_y / 2))
  local status=0
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then
    # Where it is stuck, for the report.
    command -v gdb >/dev/null && timeout 60 gdb -batch -p "$app_pid" -ex 'thread apply all bt' 2>&1 | grep -E '^(#|Thread)' | head -n 60
    fail "program still running after its window was closed"
  fi
  wait "$app_pid" || status=$?
  [ "$status" -eq 0 ] || fail "program exited with status $status"
  echo "closed from its title bar, exit status 0"
}

case $mode in
  headless)
    start_weston --backend=headless-backend.so --width=1024 --height=768
    start_app
    check_window
    ;;
  input)
    # shellcheck source=x_session.sh
    source "$here/x_session.sh"
    start_x
    trap 'kill "$XVFB_PID" 2>/dev/null || true; cleanup' EXIT
    start_weston --backend=x11-backend.so --use-pixman --width=800 --height=600
    start_app
    check_input
    ;;
  *) echo "unknown mode: $mode" >&2; exit 2 ;;
esac
echo "wayland $mode: passed"
