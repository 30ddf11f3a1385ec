#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command in the environment of a desktop user who has set things up
# for themselves, as the tests that start real components meet it on a
# user's machine: Qt scaled to 125 % with the GTK theme, a German locale, a
# zone far from UTC, a home holding vantoril-lst's places file and an IERS
# table, a session bus, and an X display (Xvfb) and a Wayland display
# (weston) of the user's own, which the tests must leave alone: any client
# of theirs fails the run.
#
# Usage: scripts/user-desktop.sh [--busy] COMMAND [ARG...]
#   --busy   both processors kept busy (stress-ng --cpu 2) while it runs
#
# Needs xdg-utils, qt6-gtk-platformtheme and stress-ng (scripts/test.sh
# installs them), Xvfb, weston, dbus and the de_DE.UTF-8 locale.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${VANTORIL_USER_BUS:-}" ]; then
  exec env VANTORIL_USER_BUS=1 dbus-run-session -- "$0" "$@"
fi
busy=0
if [ "${1:-}" = "--busy" ]; then
  busy=1
  shift
fi

user=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$user"
}
trap cleanup EXIT

export HOME=$user/home
mkdir -p "$HOME/.config/vantoril-lst" "$HOME/.local/share/vantoril-lst" "$user/runtime"
chmod 0700 "$user/runtime"
printf '%s\n' '# the user own places' 'Home -79.85 America/Toronto' 'Cabin 172.5 Pacific/Chatham' \
  >"$HOME/.config/vantoril-lst/places"
cp "$root/tests/cli/data/finals2000A.excerpt" "$HOME/.local/share/vantoril-lst/finals2000A.all"
export XDG_RUNTIME_DIR=$user/runtime XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share

# The user's X display, which reports every client that connects (-audit 4).
mkfifo "$user/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset -audit 4 3>"$user/display" \
  >"$user/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 number <"$user/display" || { echo "the user's Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
# The user's Wayland display: a headless weston with a shell that starts no
# client of its own, whose protocol log names every client request.
WAYLAND_DEBUG=server weston --socket=wayland-user --no-config --backend=headless-backend.so \
  --shell=kiosk-shell.so --log="$user/weston.log" >"$user/weston-protocol.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/wayland-user" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/wayland-user" ] || { echo "the user's weston did not start" >&2; exit 1; }
export WAYLAND_DISPLAY=wayland-user

export QT_SCALE_FACTOR=1.25 QT_QPA_PLATFORMTHEME=gtk3 LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 TZ=Pacific/Chatham
export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland BROWSER=firefox

if [ "$busy" -eq 1 ]; then
  stress-ng --cpu 2 --quiet &
  pids+=($!)
fi

status=0
"$@" || status=$?

clients=$( (grep -c 'client [0-9]* connected' "$user/xvfb.log" || true; grep -c 'get_registry' "$user/weston-protocol.log" || true) |
  awk '{ n += $1 } END { print n }')
if [ "$clients" -ne 0 ]; then
  echo "FAIL: the tests used the user's own displays:" >&2
  grep 'client [0-9]* connected' "$user/xvfb.log" >&2 || true
  grep 'get_registry' "$user/weston-protocol.log" >&2 || true
  status=1
fi
exit "$status"
