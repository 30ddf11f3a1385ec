#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Proves the Debian package on the release this runs on, as a user meets it:
# builds it, installs it with apt, starts both programs from their installed
# paths, validates the menu entry, runs this release's lintian on it, removes
# it with apt and checks that nothing it installed is left behind.
#
# It installs into the system itself, so it refuses to run where a
# vantoriltime package is installed already (it would replace and then remove
# it): run it on a fresh machine, in CI, or in the Debian 13 root
# (scripts/debian13.sh ./scripts/install-check.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/packages.sh"
"$root/scripts/install-deps.sh" "${BUILD_PACKAGES[@]}" dpkg-dev file lintian desktop-file-utils \
  xvfb xauth xdotool x11-utils

app_id=org.example.VantorilTime
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

if dpkg-query -W -f='${Status}' vantoriltime 2>/dev/null | grep -q 'ok installed'; then
  echo "install check: vantoriltime is installed on this machine already; not replacing it" >&2
  exit 1
fi

deb="$("$root/scripts/package.sh" | tail -n 1)"
release="Debian $(cat /etc/debian_version)"
echo "install check on $release: $deb"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The test environment's exit steps run last registered first, so the
# package is removed after the X server is stopped.
# shellcheck source=../tests/app/own_env.sh
source "$root/tests/app/own_env.sh"
# shellcheck source=../tests/app/x_session.sh
source "$root/tests/app/x_session.sh"
removed=0
cleanup() {
  [ "$removed" -eq 1 ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq vantoriltime >/dev/null 2>&1 || true
}
at_exit cleanup

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
mapfile -t installed < <(dpkg-query -L vantoriltime)

# The command line, from its installed path, with an instant whose answer is known.
out=$(/usr/bin/vantoril-lst 79d51mW 2002-01-01 00:00:00) || fail "vantoril-lst did not run"
[ "${out:-}" = "1:22:30" ] || fail "vantoril-lst printed '${out:-}', expected 1:22:30"

# The window, from its installed path, until a real X server of its own maps
# it, without the user's desktop settings.
own_environment
start_x
/usr/bin/vantoriltime >/tmp/vantoriltime-install-check.log 2>&1 &
app_pid=$!
if window=$(find_window) && [ -n "$window" ]; then
  xwininfo -id "$window" | grep -q 'Map State: IsViewable' || fail "the window is not viewable"
  kill -0 "$app_pid" 2>/dev/null || fail "vantoriltime ended after mapping its window"
  echo "vantoriltime mapped its window $(xwininfo -id "$window" | sed -nE 's/.*-geometry ([0-9x]+).*/\1/p')"
else
  fail "vantoriltime mapped no window: $(cat /tmp/vantoriltime-install-check.log)"
fi
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true

desktop-file-validate "/usr/share/applications/$app_id.desktop" || fail "the menu entry does not validate"

# This release's lintian, which knows this release's policy.
lintian --fail-on error,warning --display-info "$deb" >/tmp/vantoriltime-lintian.log 2>&1 \
  || { grep -v '^running with root' /tmp/vantoriltime-lintian.log >&2; fail "lintian ($(lintian --version))"; }

DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq vantoriltime >/dev/null
removed=1
if dpkg-query -W -f='${Status}' vantoriltime 2>/dev/null | grep -qv 'not-installed'; then
  fail "after apt remove, dpkg still knows vantoriltime: $(dpkg-query -W -f='${Status}' vantoriltime)"
fi
for path in "${installed[@]}"; do
  if [ -e "$path" ] && [ ! -d "$path" ]; then fail "left behind: $path"; fi
done

if [ "$failures" -ne 0 ]; then
  echo "install check on $release: $failures check(s) failed" >&2
  exit 1
fi
echo "install check on $release: installed, both programs started, menu entry valid, lintian clean, removed without a trace"
