#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window as a native Wayland client of a private, headless sway (a
# tiling compositor), driven as a user would with swaymsg and a virtual
# keyboard, and proved from sway's tree and the client's protocol log:
#   - whatever is asked (full screen, resize, tiling, in any order), the
#     window ends drawn at its size (its window geometry and the buffer it
#     last attached are 484 x 323), with its size limits in force, in the
#     normal state, and a frame follows every configure it acknowledges;
#   - what was typed is kept;
#   - a message box is placed over its window (its transient parent), and
#     when the window is focused while the box is open, the box comes back
#     with the keyboard.
# sway refuses to run as root: as root, sway and the program run as nobody.
#
#   sway_test.sh APP        KEEP_LOG=FILE keeps a copy of the protocol log.
set -euo pipefail
app=${1:?program}
here=$(dirname "$0")
# shellcheck source=own_env.sh
source "$here/own_env.sh"
own_environment

runtime=$XDG_RUNTIME_DIR
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  own_environment_for nobody:nogroup
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
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
  echo "---- sway log"; grep -v 'wlr_renderer\|drm_lease' "$runtime/sway.log" 2>/dev/null | tail -n 10 || true
  echo "---- protocol log (last lines)"; tail -n 30 "$log" 2>/dev/null || true
  exit 1
}

# shellcheck source=wayland_log.sh
source "$here/wayland_log.sh"

export XDG_CONFIG_HOME=$runtime
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
printf '%s\n' 'xwayland disable' 'output HEADLESS-1 resolution 1280x1024' >"$runtime/config"
"${as_user[@]}" sway -c "$runtime/config" >"$runtime/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  SWAYSOCK=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
  WAYLAND_DISPLAY=$(find "$runtime" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' -printf '%f\n' | head -n 1)
  [ -n "$SWAYSOCK" ] && [ -n "$WAYLAND_DISPLAY" ] && break
  kill -0 "${pids[-1]}" 2>/dev/null || fail "sway ended at start-up"
  sleep 0.1
done
if [ -z "$SWAYSOCK" ] || [ -z "$WAYLAND_DISPLAY" ]; then fail "sway made no sockets"; fi
export SWAYSOCK WAYLAND_DISPLAY

sway_cmd() { "${as_user[@]}" swaymsg -q -- "$@" || fail "swaymsg $*"; }
# Keys through virtual keyboards (zwp_virtual_keyboard_v1), a wtype each. One
# keyboard held for the whole test keeps the seat's keyboard, so the window
# binds it once; each wtype's keys then reach it, after the keymap sway
# sends ahead of them.
keyboard() {
  "${as_user[@]}" wtype -s 600000 &
  pids+=($!)
}
keys() { "${as_user[@]}" wtype "$@"; }

# "geometry WxH fullscreen F focused B floating B frame WxH" of the view
# titled $1 in sway's tree. The geometry is the window's own size as sway
# records it, not what is drawn; the frame is the container sway draws
# round the window.
view() {
  "${as_user[@]}" swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node, floating):
    if node.get("name") == sys.argv[1] and node.get("pid"):
        g, r = node["geometry"], node["rect"]
        print("geometry %dx%d fullscreen %d focused %s floating %s frame %dx%d" % (g["width"], g["height"],
              node["fullscreen_mode"], node["focused"], floating, r["width"], r["height"]))
    for child in node.get("nodes", []):
        walk(child, floating)
    for child in node.get("floating_nodes", []):
        walk(child, True)
walk(json.load(sys.stdin), False)' "$1"
}
# Waits up to 5 s for the view titled $1 to match the extended regular expression $2.
wait_view() {
  local seen
  for _ in $(seq 50); do
    seen=$(view "$1")
    grep -qE -- "$2" <<<"$seen" && return 0
    sleep 0.1
  done
  echo "'$1' is: ${seen:-not in the tree}"
  return 1
}

# Every configure of the window acknowledged after line $1 is followed by
# a whole new frame committed (the state applies with it).
drawn_after() {
  read_log "$(($1 + 1))" | awk -v xdg="$xdg.ack_configure(" -v damage="$surface.damage_buffer(0, 0, " \
    -v commit="$surface.commit()" '
    index($0, xdg) { pending = 1; full = 0 }
    pending && index($0, damage) { full = 1 }
    pending && full && index($0, commit) { pending = 0 }
    END { exit pending }'
}

# What the window last drew: "geometry WxH buffer WxH", its window geometry
# and the size of the buffer last attached to its surface (from the
# wl_shm_pool.create_buffer that made it).
drawn() {
  read_log | awk -v geometry="$xdg.set_window_geometry(" -v attach="$surface.attach(" '
    function numbers(text, a) { return split(text, a, /[^0-9]+/) }
    /\.create_buffer\(new id wl_buffer@/ {
      match($0, /wl_buffer@[0-9]+/); id = substr($0, RSTART, RLENGTH)
      numbers(substr($0, RSTART + RLENGTH), n); size[id] = n[3] "x" n[4]
    }
    index($0, attach) { match($0, /wl_buffer@[0-9]+/); buffer = size[substr($0, RSTART, RLENGTH)] }
    index($0, geometry) { numbers(substr($0, index($0, geometry) + length(geometry)), n); window = n[3] "x" n[4] }
    END { printf "geometry %s buffer %s\n", window, buffer }'
}
# The size limits last sent: "(W, H) (W, H) ".
limits() {
  read_log | grep -E "$toplevel\.set_m(in|ax)_size\(" | tail -n 2 | grep -oE '\([0-9]+, [0-9]+\)' | tr '\n' ' '
}
# Waits up to 10 s for the window to have settled after the requests made
# since line $1: not full screen, drawn at 484 x 323, its size limits 484 x 323
# and a whole frame after each configure it acknowledged.
settled() {
  for _ in $(seq 100); do
    if grep -q "fullscreen 0" <<<"$(view "Vantoril Time")" && [ "$(drawn)" = "geometry 484x323 buffer 484x323" ] &&
      [ "$(limits)" = "(484, 323) (484, 323) " ] && drawn_after "$1"; then
      return 0
    fi
    sleep 0.1
  done
  echo "sway: $(view "Vantoril Time")"
  echo "drawn: $(drawn); size limits: $(limits)"
  drawn_after "$1" || echo "a configure was acknowledged with no frame after it"
  return 1
}

ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0" \
  LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}fast_unwind_on_malloc=0" \
  QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "${as_user[@]}" "$app" >"$log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
find_toplevel
# Fixed in size, so sway floats it.
wait_view "Vantoril Time" "geometry 484x323 fullscreen 0 focused True floating True" || fail "not shown floating at 484 x 323"
# The keyboard's first key waits for the window to have bound it and have
# its focus.
mark=$(lines)
keyboard
wait_log 'wl_keyboard@[0-9]+\.enter\(' "$mark" >/dev/null || fail "the window never had the keyboard's focus"
mark=$(lines)
keys 79
wait_log 'wl_keyboard@[0-9]+\.key\([0-9]+, [0-9]+, [0-9]+, 1\)' "$mark" >/dev/null || fail "no key arrived"
echo "shown floating at 484 x 323, 79 typed"

# What a user or sway asks; each ends with the window drawn at its size, not
# full screen (the window leaves it by itself), with its size limits.
A='[title="^Vantoril Time$"]'
requests=(
  "resize set 800 600|fullscreen enable"
  "resize set 800 600|fullscreen toggle|fullscreen toggle"
  "fullscreen enable|fullscreen disable|resize set 800 600"
  "fullscreen toggle|resize set 800 600"
  "floating disable|fullscreen toggle|fullscreen toggle|resize set 800 600"
  "fullscreen toggle|floating enable|resize set 900 700"
)
for request in "${requests[@]}"; do
  mark=$(lines)
  IFS='|' read -r -a steps <<<"$request"
  for step in "${steps[@]}"; do
    sway_cmd "$A $step"
    sleep 0.4 # pacing: the window answers each before the next comes
  done
  settled "$mark" || fail "not drawn at 484 x 323, fixed, in the normal state after: $request"
  echo "$request: drawn at 484 x 323, fixed, not full screen ($(view "Vantoril Time" | grep -oE 'frame [0-9x]+'))"
done
sway_cmd "$A floating enable"

# The 79 is kept: a 0 after it makes 790, which is warned about.
mark=$(lines)
keys 0
box_title=$(wait_log 'xdg_toplevel@[0-9]+\.set_title\("VantorilTime"\)' "$mark") || fail "no warning after 0: the typed 79 was lost"
box=$(grep -oE 'xdg_toplevel@[0-9]+' <<<"$box_title")
read_log "$mark" | grep -E "$box\.set_parent\($toplevel\)" >/dev/null || fail "the box is not over its window (no transient parent)"
wait_view "VantorilTime" "focused True" || fail "the box has not the keyboard"
box_size=$(view "VantorilTime" | grep -oE 'geometry [0-9]+x[0-9]+')
echo "typed text kept: 790 warned about, the box over its window has the keyboard"

# The window focused, as a click on it does: the box comes back in front.
sway_cmd "$A focus"
wait_view "VantorilTime" "focused True" || fail "the box stayed behind its window"
echo "window focused while the box is open: the box has the keyboard again"
# The box asked for full screen stays as it is.
mark=$(lines)
sway_cmd '[title="^VantorilTime$"] fullscreen enable'
# The box (shown anew above, so a toplevel of its own) answers the full
# screen sway asks for by asking to leave it.
wait_log 'xdg_toplevel@[0-9]+\.unset_fullscreen\(\)' "$mark" >/dev/null || fail "the box did not ask to leave full screen"
wait_view "VantorilTime" "$box_size fullscreen 0" || fail "the box did not stay at its size"
echo "box asked for full screen: stays at its size"

mark=$(lines)
keys -k Return
wait_view "Vantoril Time" "focused True" || fail "the box stayed open after Return"
read_log "$mark" | grep -E "$box\.destroy\(\)|xdg_toplevel@[0-9]+\.destroy\(\)" >/dev/null || fail "no box closed"

sway_cmd "$A kill"
status=0
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "program still running after its window was closed"
wait "$app_pid" || status=$?
[ "$status" -eq 0 ] || fail "program exited with status $status"
if read_log | grep -E 'wl_display@[0-9]+\.error\(' >/dev/null; then fail "protocol error"; fi
echo "closed by sway, exit status 0, no protocol error"
echo "sway: passed"
