# SPDX-License-Identifier: MIT
# Debian packages the project needs, sourced by the run and test scripts.
# shellcheck disable=SC2034

# The clang each supported release ships: 14 on Debian 12, 19 on Debian 13.
# The fuzzers, the static analysis and the format check use it.
# VANTORIL_CLANG_VERSION overrides it, for another release.
release_codename() {
  (. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
}
case "${VANTORIL_CLANG_VERSION:-$(release_codename)}" in
  bookworm) CLANG_VERSION=14 ;;
  trixie) CLANG_VERSION=19 ;;
  [0-9]*) CLANG_VERSION=$VANTORIL_CLANG_VERSION ;;
  *)
    echo "Debian 12 (bookworm) and 13 (trixie) are supported; set VANTORIL_CLANG_VERSION for another release" >&2
    exit 2
    ;;
esac
CLANG_PACKAGES=("clang-$CLANG_VERSION" "libclang-rt-$CLANG_VERSION-dev" "libfuzzer-$CLANG_VERSION-dev")

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev fonts-liberation qt6-wayland liberfa-dev nettle-dev libabsl-dev libutf8proc-dev libxcb1-dev)
# What a desktop user has and the suite does not need: xdg-utils (on every
# desktop; Qt opens links with its xdg-open), Qt's GTK theme; and stress-ng
# to keep the processors busy. scripts/user-desktop.sh runs the tests among them.
USER_DESKTOP_PACKAGES=(xdg-utils qt6-gtk-platformtheme stress-ng)
TEST_PACKAGES=(googletest zsh fish libgtest-dev libbenchmark-dev liberfa-dev xvfb xauth xdotool x11-utils x11-xserver-utils desktop-file-utils appstream dpkg-dev file libx11-dev locales xclip weston sway wtype dbus at-spi2-core python3-pyatspi orca metacity speech-dispatcher speech-dispatcher-espeak-ng espeak-ng lintian "clang-format-$CLANG_VERSION" python3-astropy python3-erfa python3-skyfield tzdata groff-base git)
