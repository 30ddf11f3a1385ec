# SPDX-License-Identifier: MIT
# Reading a Wayland client's protocol log (WAYLAND_DEBUG=1) in the file
# $log; sourced by the Wayland tests, which define fail.

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
