#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Without a display the window can open, the program says so in one line,
# names what it looked for, points to vantoril-lst and exits with status 1:
# no abort, no core dump, no advice to reinstall.
set -euo pipefail
app=${1:?program}

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
# An X display number with no server: no socket and no lock file.
x=90
while [ -e "/tmp/.X11-unix/X$x" ] || [ -e "/tmp/.X$x-lock" ]; do x=$((x + 1)); done

lead='vantoriltime: no display to show the window on: '
tail='; in a terminal, use vantoril-lst'
# environment | what the line says was looked for
cases=(
  "|DISPLAY and WAYLAND_DISPLAY are unset"
  "DISPLAY=:$x|the X display \":$x\" (DISPLAY) cannot be opened and WAYLAND_DISPLAY is unset"
  "WAYLAND_DISPLAY=wayland-9|DISPLAY is unset and the Wayland display \"wayland-9\" (WAYLAND_DISPLAY) cannot be opened"
  "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-9|DISPLAY is unset (QT_QPA_PLATFORM=xcb)"
  "QT_QPA_PLATFORM=wayland DISPLAY=:$x|WAYLAND_DISPLAY is unset (QT_QPA_PLATFORM=wayland)"
)
failed=0
for c in "${cases[@]}"; do
  settings=${c%%|*} expected="$lead${c#*|}$tail"
  status=0
  # shellcheck disable=SC2086 # the settings are words for env
  env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" $settings "$app" >"$runtime/out" 2>"$runtime/err" ||
    status=$?
  if [ "$status" -ne 1 ] || [ -s "$runtime/out" ] || [ "$(cat "$runtime/err")" != "$expected" ]; then
    echo "FAIL [$settings]: status $status, stdout $(wc -c <"$runtime/out") bytes, stderr:"
    cat "$runtime/err"
    echo "expected: $expected"
    failed=1
  else
    echo "ok [$settings]: status 1, one line"
  fi
done
exit "$failed"
