#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the built program on a private D-Bus session and a private Xvfb with
# Qt's AT-SPI bridge on, and checks it from outside, through the
# accessibility bus, with atspi_check.py. The session bus starts the
# accessibility bus and its registry itself (at-spi2-core).
set -euo pipefail
app=${1:?program}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=own_env.sh
source "$here/own_env.sh"
# shellcheck source=x_session.sh
source "$here/x_session.sh"
own_environment
on_private_dbus "$0" "$@"

start_x
# Without a desktop that switches accessibility on, the bridge must be told to start.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$app" &
app_pid=$!
at_exit 'kill "$app_pid" 2>/dev/null'

# Debian's python3, which python3-pyatspi installs into.
status=0
/usr/bin/python3 "$here/atspi_check.py" || status=$?
kill -0 "$app_pid" 2>/dev/null || { echo "FAIL: the program ended"; status=1; }
exit "$status"
