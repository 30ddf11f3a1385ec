# SPDX-License-Identifier: MIT
# An environment of its own for a test of the built program and the
# components it starts (X servers, compositors, D-Bus, Orca); sourced first by
# the app tests. What the user has set for their own desktop (Qt's scale,
# platform and theme, the desktop's folders, display, bus, browser, language)
# neither changes what the test sees nor is reached by it: no window on the
# user's screen, no speech on their speakers, no page in their browser.
# A test sets what it means to test (a scale, a locale) after this.

# Commands run when the test ends, last registered first: at_exit 'COMMAND'.
own_env_exit_steps=()
at_exit() { own_env_exit_steps+=("$1"); }
own_env_run_exit_steps() {
  local i
  for ((i = ${#own_env_exit_steps[@]} - 1; i >= 0; i--)); do eval "${own_env_exit_steps[i]}" || true; done
}
trap own_env_run_exit_steps EXIT

# Clears the user's settings and makes a home, a runtime folder and a
# browser of the test's own, all in one folder, $VANTORIL_OWN_ENV, removed
# when the test ends. A script run again on a private bus (on_private_dbus)
# keeps the folder its first run made.
#
# The browser is a recording xdg-open, first on PATH and named by
# DEFAULT_BROWSER and BROWSER: Qt opens a link with xdg-open when there is
# one and falls back to those variables only when there is none. Each page
# asked for is a line of $VANTORIL_BROWSER_LOG.
own_environment() {
  if [ -n "${VANTORIL_OWN_ENV:-}" ] && [ -d "$VANTORIL_OWN_ENV" ]; then
    at_exit 'rm -rf "$VANTORIL_OWN_ENV"'
    return 0
  fi
  local name
  for name in $(compgen -e); do
    case $name in
      QT_* | XDG_* | GTK_* | GDK_* | KDE_* | PLASMA_* | GNOME_* | DESKTOP_SESSION | SESSION_MANAGER | \
        DISPLAY | XAUTHORITY | WAYLAND_* | SWAYSOCK | I3SOCK | WLR_* | WESTON_* | KWIN_* | \
        DBUS_SESSION_BUS_ADDRESS | AT_SPI_BUS_ADDRESS | NO_AT_BRIDGE | BROWSER | DEFAULT_BROWSER | \
        LANG | LANGUAGE | LC_* | XMODIFIERS | XCURSOR_* | SPEECHD_* | PULSE_* | PIPEWIRE_*)
        unset "$name"
        ;;
    esac
  done
  VANTORIL_OWN_ENV=$(mktemp -d)
  export VANTORIL_OWN_ENV
  at_exit 'rm -rf "$VANTORIL_OWN_ENV"'
  mkdir -m 0700 "$VANTORIL_OWN_ENV/home" "$VANTORIL_OWN_ENV/runtime"
  mkdir "$VANTORIL_OWN_ENV/bin"
  export HOME=$VANTORIL_OWN_ENV/home XDG_RUNTIME_DIR=$VANTORIL_OWN_ENV/runtime LANG=C.UTF-8
  # Never the user's bus, and no bus started behind the test's back
  # (libdbus would otherwise launch one for the X display).
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
  export VANTORIL_BROWSER_LOG=$VANTORIL_OWN_ENV/browser.log
  : >"$VANTORIL_BROWSER_LOG"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$VANTORIL_BROWSER_LOG" >"$VANTORIL_OWN_ENV/bin/xdg-open"
  chmod 0755 "$VANTORIL_OWN_ENV/bin/xdg-open"
  export PATH=$VANTORIL_OWN_ENV/bin:$PATH
  export DEFAULT_BROWSER=$VANTORIL_OWN_ENV/bin/xdg-open BROWSER=$VANTORIL_OWN_ENV/bin/xdg-open
}

# Lets the unprivileged user $1 (the tests that run a component as nobody)
# use the folder: its home, runtime folder and browser.
own_environment_for() {
  chown -R "$1" "$VANTORIL_OWN_ENV"
}
