# SPDX-License-Identifier: MIT
# Starts a private Xvfb for one test and exports DISPLAY; sourced by the app
# tests after own_env.sh. Xvfb picks a free display itself (-displayfd), so
# parallel tests never collide.
start_x() {
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  # -noreset: by default the server resets when its last client leaves, which
  # drops a keyboard map set before the program starts and refuses, for that
  # moment, the next client to connect.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo"
  rm -f "$fifo"
  [ -n "$number" ] || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=":$number"
  at_exit 'kill "$XVFB_PID" 2>/dev/null'
}

# Runs the calling script ("$0" "$@") again on a private D-Bus session bus,
# which starts the accessibility bus and its registry (at-spi2-core) when
# first asked; returns at once when it already runs on one. The session
# keeps the test's own runtime folder (own_environment): the accessibility
# bus it starts puts its socket there, and tests running side by side with a
# shared one would meet on one bus. The script run again removes the folder.
on_private_dbus() {
  if [ -z "${VANTORIL_PRIVATE_DBUS:-}" ]; then
    exec env VANTORIL_PRIVATE_DBUS=1 dbus-run-session -- "$@"
  fi
}

# Prints the id of the visible window titled "Vantoril Time", waiting up to 20 s.
find_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^Vantoril Time$' | head -n 1
}

# In a sanitizer build: the leak checker's fast unwinder stops at Qt's first
# frame, so leaks Qt keeps to the exit could not be told apart from ours;
# with the slow one their stacks reach the libraries the suppressions name
# (the leak checker reads its own options, the allocator the address
# sanitizer's). These tests start the program only a few times.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
  export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}fast_unwind_on_malloc=0"
fi
