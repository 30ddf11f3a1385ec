#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Walks a screen-reader user's road through the built program with Orca
# itself, and checks what Orca speaks (orca_road.py). Everything runs
# private to the test: a D-Bus session (which starts the accessibility bus),
# an Xvfb, metacity as window manager (without one Orca falls silent once a
# message box has closed), speech-dispatcher with espeak-ng into ALSA's null
# device, and a home of its own for Orca's settings. Orca writes every
# utterance to its debug file as "SPEECH OUTPUT: '...'"; the file is made line
# buffered, so nothing is lost when Orca is stopped.
# Orca allows one instance per user: the test holds a CTest resource lock.
set -euo pipefail
app=${1:?program}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=own_env.sh
source "$here/own_env.sh"
# shellcheck source=x_session.sh
source "$here/x_session.sh"
own_environment
on_private_dbus "$0" "$@"

home=$HOME
export XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$home/orca"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$home/.asoundrc"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
DefaultModule espeak-ng
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
CONF
# Orca runs this file from its settings folder at start-up.
cat >"$home/orca/orca-customizations.py" <<'PY'
from orca import debug
debug.debugFile.reconfigure(line_buffering=True)
PY
log=$home/orca.log

start_x
pids=()
# Each started component is asked to end, and ended if it has not within 5 s.
cleanup() {
  local pid alive
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for _ in $(seq 50); do
    alive=0
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && return 0
    sleep 0.1
  done
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
}
at_exit cleanup

metacity --replace >"$home/metacity.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# Orca starts only when no other Orca of the same user runs, be it the
# user's own screen reader or another test's: it asks `pgrep -u UID -x orca`,
# through the PATH. The pgrep first on this test's PATH answers for the
# test's own processes only, those carrying its VANTORIL_OWN_ENV.
cat >"$VANTORIL_OWN_ENV/bin/pgrep" <<EOF
#!/bin/sh
for pid in \$(/usr/bin/pgrep "\$@"); do
  grep -qzxF 'VANTORIL_OWN_ENV=$VANTORIL_OWN_ENV' "/proc/\$pid/environ" 2>/dev/null && echo "\$pid"
done
exit 0
EOF
chmod 0755 "$VANTORIL_OWN_ENV/bin/pgrep"
orca -u "$home/orca" --debug-file "$log" >"$home/orca.out" 2>&1 &
pids+=($!)
for _ in $(seq 300); do
  grep -q "SPEECH OUTPUT: 'Screen reader on" "$log" 2>/dev/null && break
  sleep 0.1
done
grep -q "SPEECH OUTPUT: 'Screen reader on" "$log" 2>/dev/null \
  || { echo "FAIL: Orca did not start"; tail -n 20 "$home/orca.out"; exit 1; }
# Without a desktop that switches accessibility on, the bridge must be told to start.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$app" &
app_pid=$!
pids+=("$app_pid")

status=0
# Debian's python3; xdotool types the keys.
/usr/bin/python3 "$here/orca_road.py" "$log" || status=$?
kill -0 "$app_pid" 2>/dev/null || { echo "FAIL: the program ended"; status=1; }
if [ "$status" -ne 0 ]; then
  echo "--- Orca's output"; tail -n 20 "$home/orca.out"
fi
exit "$status"
