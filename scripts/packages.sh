# SPDX-License-Identifier: MIT
# Debian packages the project needs, sourced by the run and test scripts.
# shellcheck disable=SC2034
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev fonts-liberation qt6-wayland liberfa-dev)
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev liberfa-dev xvfb xauth xdotool x11-utils desktop-file-utils appstream dpkg-dev file libx11-dev locales xclip weston dbus at-spi2-core python3-pyatspi lintian clang-format-14 python3-astropy groff-base)
