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
# shellcheck source=own_env.sh
source "$here/own_env.sh"
# shellcheck source=x_session.sh
source "$here/x_session.sh"
own_environment

runtime=$XDG_RUNTIME_DIR
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "${KEEP_LOG:-}" ]; then cp "$log" "$KEEP_LOG"; fi
}
at_exit cleanup
log=$runtime/protocol.log

fail() {
  echo "FAIL: $*"
  echo "---- weston log"; tail -n 20 "$runtime/weston.log" 2>/dev/null || true
  if [ -f "$runtime/clients.log" ]; then
    echo "---- weston's and its clients' messages"; grep -v '^\[' "$runtime/clients.log" | tail -n 10 || true
  fi
  echo "---- protocol log (last lines)"; tail -n 30 "$log" 2>/dev/null || true
  exit 1
}

# shellcheck source=wayland_log.sh
source "$here/wayland_log.sh"

start_weston() {
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

# Moves the pointer to point $4,$5 of surface $1, whose top left stands at
# $2,$3 of the output, and waits until the client has heard it arrive there.
reach() {
  local mark
  mark=$(lines)
  xdotool mousemove $(($2 + $4)) $(($3 + $5))
  wait_log "wl_pointer@[0-9]+\.(enter\([0-9]+, $1, |motion\([0-9]+, )$4\.0+, $5\.0+\)" "$mark" >/dev/null
}

# Clicks at a point of the window's surface once the client has seen the
# pointer arrive there, so no click lands where the pointer was before.
click_surface() {
  local mark
  mark=$(lines)
  reach "$surface" "$origin_x" "$origin_y" "$1" "$2" || fail "the pointer never reached $1,$2"
  xdotool click 1
  wait_log 'wl_pointer@[0-9]+\.button\([0-9]+, [0-9]+, 272, 0\)' "$mark" >/dev/null || fail "no click arrived at $1,$2"
}
# Clicks at a point given relative to the window's content.
click() { click_surface $((content_x + $1)) $((content_y + $2)); }

# Where the compositor put surface $1 on weston's output (weston 10 centres a
# new window, weston 14 places it at random), from the pointer events it
# sends: the pointer leaves the output, then visits a grid of points finer
# than the smallest surface (a message box of some 260 x 100) until weston
# reports it entering the surface. Sets surface_x, surface_y: the surface's
# top left in output pixels.
locate() {
  local wait x y mark entry sx sy
  # A second, slower pass in case the first moved on before an entry arrived.
  for wait in 0.03 0.3; do
    # Xvfb starts the pointer at its screen's centre, inside weston's output
    # window, and weston, which never saw it enter, would ignore the moves
    # that follow: take it out of the output first.
    xdotool mousemove 1270 1010
    for y in $(seq 10 50 590); do
      for x in $(seq 10 100 790); do
        mark=$(lines)
        xdotool mousemove "$x" "$y"
        sleep "$wait"
        entry=$(read_log "$((mark + 1))" | grep -E "wl_pointer@[0-9]+\.enter\([0-9]+, $1, " | tail -n 1) || true
        if [ -n "$entry" ]; then
          read -r sx sy <<<"$(grep -oE '[0-9]+\.[0-9]+' <<<"$entry" | tail -n 2 | cut -d. -f1 | tr '\n' ' ')"
          surface_x=$((x - sx))
          surface_y=$((y - sy))
          # An entry that came late belongs to an earlier point, and the
          # origin would be off by a step: confirm it at a point of its own.
          local check=8
          [ "$sx,$sy" = "8,8" ] && check=9
          reach "$1" "$surface_x" "$surface_y" "$check" "$check" && return 0
          continue 3
        fi
      done
    done
  done
  return 1
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

  locate "$surface" || fail "the pointer never entered the window"
  origin_x=$surface_x origin_y=$surface_y
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

# ---- Title-bar buttons ------------------------------------------------------
# wayland_test.sh titlebar APP: weston's X11 backend as for input; every
# button of the title bar Qt draws, on the window and on a message box. Qt
# draws minimise, maximise and close whatever the window's flags say; none
# may end the program or lose what was typed.

# Centres of Qt's title-bar buttons, left of the frame's right edge, and
# their height from its top (buttons 18 px wide, 5 px apart).
tb_minimise=65 tb_maximise=42 tb_close=19 tb_y=15

# Toplevel, xdg surface and surface of the last toplevel titled $1 after
# line $2, into tb_toplevel, tb_xdg, tb_surface.
titled_surface() {
  local title
  title=$(wait_log "xdg_toplevel@[0-9]+\.set_title\(\"$1\"\)" "$2") || return 1
  tb_toplevel=$(grep -oE 'xdg_toplevel@[0-9]+' <<<"$title")
  tb_xdg=$(read_log | grep -E "get_toplevel\(new id $tb_toplevel\)" | tail -n 1 | grep -oE 'xdg_surface@[0-9]+' | head -n 1)
  tb_surface=$(read_log | grep -E "get_xdg_surface\(new id $tb_xdg, " | tail -n 1 | grep -oE 'wl_surface@[0-9]+' | head -n 1)
  [ -n "$tb_surface" ]
}

# The located surface $1 and its frame width, into tb_x, tb_y0 and tb_width.
locate_surface() {
  locate "$1" || return 1
  tb_x=$surface_x tb_y0=$surface_y
  # Qt sends the frame's geometry after the title, with the first frame.
  tb_width=$(wait_log "$tb_xdg\.set_window_geometry\(0, 0, [0-9]+, [0-9]+\)" | sed -nE 's/.*\(0, 0, ([0-9]+), .*/\1/p')
  [ -n "$tb_width" ]
}

# Clicks the title-bar button $1 pixels left of the located surface's right
# edge, once the client has heard the pointer arrive on it.
click_title_button() {
  local mark
  mark=$(lines)
  reach "$tb_surface" "$tb_x" "$tb_y0" $((tb_width - $1)) "$tb_y" || fail "the pointer never reached the title-bar button"
  xdotool click 1
  wait_log 'wl_pointer@[0-9]+\.button\([0-9]+, [0-9]+, 272, 0\)' "$mark" >/dev/null || fail "no click on the title bar"
}

alive() {
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended ($1)"
  # Not grep -q: leaving early, it would fail the pipeline and hide the error.
  if read_log | grep -E 'wl_display@[0-9]+\.error\(' >/dev/null; then fail "protocol error ($1)"; fi
}

# Maximise on toplevel $1 (from line $2): asked, put back, the size fixed again.
expect_put_back() {
  local asked
  asked=$(wait_log "$1\.set_maximized\(\)" "$2") || fail "maximise was not asked for ($3)"
  asked=$(read_log | grep -nF -- "$asked" | tail -n 1 | cut -d: -f1)
  asked=$(wait_log "$1\.unset_maximized\(\)" "$asked") || fail "not put back to its size ($3)"
  asked=$(read_log | grep -nF -- "$asked" | tail -n 1 | cut -d: -f1)
  wait_log "$1\.set_max_size\([1-9][0-9]*, [1-9][0-9]*\)" "$asked" >/dev/null || fail "the size is not fixed again ($3)"
  alive "$3"
  echo "$3: maximise undone, program alive"
}

check_title_bars() {
  find_toplevel
  wait_log "wl_keyboard@[0-9]+\.enter\([0-9]+, $surface," >/dev/null || fail "the window never got the keyboard"
  local mark
  mark=$(lines)
  xdotool type 79
  # The 9 let go (evdev key 10) has reached the window.
  wait_log 'wl_keyboard@[0-9]+\.key\([0-9]+, [0-9]+, 10, 0\)' "$mark" >/dev/null || fail "the keys 79 never arrived"
  titled_surface "Vantoril Time" 0 || fail "no window surface"
  locate_surface "$tb_surface" || fail "the window was not found on the output"
  echo "window at $tb_x,$tb_y0, $tb_width wide"

  mark=$(lines)
  click_title_button "$tb_maximise"
  expect_put_back "$toplevel" "$mark" "window"
  # Qt 6.4 gives the content's size, Qt 6.8 the frame's, title bar included.
  wait_log "$toplevel\.set_max_size\((484, 323|490, 356)\)" "$mark" >/dev/null || fail "the window's size is not fixed again"
  wait_log "$xdg\.set_window_geometry\(0, 0, 490, 356\)" "$mark" >/dev/null || fail "the window is not back to its size"

  # What was typed is kept: a 0 after it makes 790, which is warned about.
  mark=$(lines)
  xdotool key 0
  titled_surface "VantorilTime" "$mark" || fail "no warning after 79 and 0: the typed 79 was lost"
  local box=$tb_toplevel
  echo "typed text kept: 790 warned about"
  locate_surface "$tb_surface" || fail "the message box was not found on the output"
  echo "message box at $tb_x,$tb_y0, $tb_width wide"

  mark=$(lines)
  click_title_button "$tb_maximise"
  expect_put_back "$box" "$mark" "message box"

  # A minimised box comes back: nothing else would unblock the window.
  mark=$(lines)
  click_title_button "$tb_minimise"
  wait_log "$box\.set_minimized\(\)" "$mark" >/dev/null || fail "the box's minimise was not asked for"
  titled_surface "VantorilTime" "$mark" || fail "the minimised message box did not come back"
  box=$tb_toplevel
  alive "message box minimised"
  echo "message box minimised: shown again"

  locate_surface "$tb_surface" || fail "the shown-again message box was not found"
  mark=$(lines)
  click_title_button "$tb_close"
  wait_log "$box\.destroy\(\)" "$mark" >/dev/null || fail "the message box stayed open after its close button"
  alive "message box closed"
  echo "message box closed from its title bar"

  titled_surface "Vantoril Time" 0
  locate_surface "$tb_surface" || fail "the window was not found after the box"
  mark=$(lines)
  click_title_button "$tb_minimise"
  wait_log "$toplevel\.set_minimized\(\)" "$mark" >/dev/null || fail "the window's minimise was not asked for"
  # weston hides it: the keyboard leaves the window.
  wait_log "wl_keyboard@[0-9]+\.leave\([0-9]+, $surface\)" "$mark" >/dev/null || fail "the window was not minimised"
  alive "window minimised"
  echo "window minimised, program alive"
}

# ---- On-screen keyboard -----------------------------------------------------
# wayland_test.sh keyboard APP: weston's X11 backend as for input, where
# weston also runs its on-screen keyboard (an input method). The focused
# degrees box asks for it with the digits purpose and, tapped, shows it;
# tapping 2, 0, 0 on it
# types 200, which the program warns about, so the digits went through its
# key procedure into the box.

# Centre of the digit key $1 of weston's keyboard, which stands at the foot
# of the 800 x 600 output: keys 60 px wide from x = 40, "1" first, "0" last.
osk_key_x() { local d=$1; [ "$d" -eq 0 ] && d=10; echo $((40 + 60 * (d - 1) + 30)); }
osk_row_y=425

# Waits up to 10 s for weston's keyboard to stand still at the foot of the
# output, as weston's scene graph (weston --debug) shows it, in two looks in
# a row: "position: (40, 400) -> (760, 600)" under its "input panel" view.
wait_keyboard_in_place() {
  local seen before=""
  for _ in $(seq 100); do
    seen=$(timeout 5 weston-debug scene-graph 2>/dev/null |
      awk '/input panel/ { panel = 1; next } panel && /position:/ { print; exit }') || true
    if [[ $seen == *", 600)" ]] && [ "$seen" = "$before" ]; then return 0; fi
    before=$seen
    sleep 0.1
  done
  return 1
}

# weston hands its keyboard only the text inputs activated after the
# keyboard bound the input method, and it starts the keyboard alongside
# itself: on a busy machine the program's box could take the focus first and
# never get the keyboard. Waits in weston's clients' own protocol log for the
# keyboard's panel, which it sets up right after binding.
wait_keyboard_client() {
  log=$runtime/clients.log wait_log 'zwp_input_panel_surface_v1@[0-9]+\.set_toplevel\(' >/dev/null
}

check_on_screen_keyboard() {
  find_toplevel
  wait_log "wl_keyboard@[0-9]+\.enter\([0-9]+, $surface," >/dev/null || fail "the window never got the keyboard"
  wait_log 'zwp_text_input_v1@[0-9]+\.set_content_type\([0-9]+, 2\)' >/dev/null \
    || fail "the degrees box did not ask for digits"
  # A tap in the box asks for the keyboard (the degrees box stands at
  # 115,160 of the window's surface, past Qt's title bar).
  titled_surface "Vantoril Time" 0 || fail "no window surface"
  locate_surface "$tb_surface" || fail "the window was not found on the output"
  reach "$tb_surface" "$tb_x" "$tb_y0" 115 160 || fail "the pointer never reached the degrees box"
  xdotool click 1
  wait_log 'zwp_text_input_v1@[0-9]+\.show_input_panel\(\)' >/dev/null || fail "no on-screen keyboard asked for"
  # weston's keyboard (a client of its own, started with weston) takes up
  # the box's text input, which it tells the box with its modifier map, and
  # weston slides it up from the foot of the output: taps land on its keys
  # once it stands still there.
  wait_log 'zwp_text_input_v1@[0-9]+\.modifiers_map\(' >/dev/null || fail "weston's keyboard never took up the box"
  wait_keyboard_in_place || fail "weston's keyboard never stood at the foot of the output"
  local mark first digit
  first=$(lines)
  for digit in 2 0 0; do
    mark=$(lines)
    xdotool mousemove "$(osk_key_x "$digit")" "$osk_row_y" click 1
    wait_log "zwp_text_input_v1@[0-9]+\.preedit_string\([0-9]+, \"$digit\", \"$digit\"\)" "$mark" >/dev/null \
      || fail "the on-screen keyboard sent no $digit"
  done
  expect_box "$first" "It is less than 180, after 2 0 0 tapped"
  alive "on-screen keyboard"
  echo "on-screen keyboard: 200 typed into the degrees box"
}

case $mode in
  headless)
    start_weston --backend=headless-backend.so --width=1024 --height=768
    start_app
    check_window
    ;;
  input)
    start_x
    start_weston --backend=x11-backend.so --use-pixman --width=800 --height=600
    start_app
    check_input
    ;;
  titlebar)
    start_x
    start_weston --backend=x11-backend.so --use-pixman --width=800 --height=600
    start_app
    check_title_bars
    ;;
  keyboard)
    start_x
    # --debug: the scene graph, for where weston's keyboard stands.
    # WAYLAND_DEBUG=client: weston's clients log their side, weston not.
    WAYLAND_DEBUG=client start_weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --debug \
      2>"$runtime/clients.log"
    wait_keyboard_client || fail "weston's keyboard never bound the input method"
    start_app
    check_on_screen_keyboard
    ;;
  *) echo "unknown mode: $mode" >&2; exit 2 ;;
esac
echo "wayland $mode: passed"
