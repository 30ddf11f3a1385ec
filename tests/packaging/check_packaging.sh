#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what a user gets from `cmake --install` and from the Debian package.
#
#   check_packaging.sh install BUILD_DIR   install into a scratch DESTDIR and
#                                           validate the desktop metadata
#   check_packaging.sh deb BUILD_DIR       build the .deb in a scratch folder
#                                           and inspect its contents and control
#
# Everything is written under a temporary folder, so the build tree is left
# as it was and both checks may run at the same time.
set -euo pipefail

mode=${1:?mode: install or deb}
build=$(cd "${2:?build folder}" && pwd)
source_root=$(cd "$(dirname "$0")/../.." && pwd)

app_id=org.example.VantorilTime
version=1.00
icon_sizes=(32 48 64 128 256)

# Every file a desktop needs to show, start and list the program, and a shell
# to complete vantoril-lst.
expected_files=(
  "usr/bin/vantoriltime"
  "usr/bin/vantoril-lst"
  "usr/share/man/man1/vantoril-lst.1.gz"
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/doc/vantoriltime/copyright"
  "usr/share/doc/vantoriltime/changelog.gz"
  "usr/share/man/man1/vantoriltime.1.gz"
  "usr/share/bash-completion/completions/vantoril-lst"
  "usr/share/zsh/vendor-completions/_vantoril-lst"
  "usr/share/fish/vendor_completions.d/vantoril-lst.fish"
)
for size in "${icon_sizes[@]}"; do
  expected_files+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done

# Tools from desktop-file-utils, appstream, dpkg-dev, file and lintian.
for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps file cmake cpack lintian; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# lintian, dpkg and the desktop tools run in an environment of their own,
# as the app tests do: the user's language, desktop and Qt settings are not theirs.
# shellcheck source=../app/own_env.sh
source "$source_root/tests/app/own_env.sh"
own_environment
scratch=$(mktemp -d)
at_exit 'rm -rf "$scratch"'

# Value of KEY in the [Desktop Entry] group of a desktop file.
desktop_value() {
  sed -n "/^\[Desktop Entry\]/,/^\[/{s/^$2=//p}" "$1" | head -n 1
}

check_install() {
  local root=$scratch/root
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$scratch/install.log" \
    || { cat "$scratch/install.log" >&2; fail "cmake --install"; return; }

  local path
  for path in "${expected_files[@]}"; do
    [ -f "$root/$path" ] || fail "not installed: /$path"
  done
  [ -x "$root/usr/bin/vantoriltime" ] || fail "/usr/bin/vantoriltime is not executable"
  check_lst "$root"

  # Each icon must be a PNG of the size its folder promises; a swapped or
  # missing source picture would otherwise go unnoticed until a menu shows it.
  local size info
  for size in "${icon_sizes[@]}"; do
    path=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ -f "$path" ] || continue
    info=$(file -b "$path")
    [[ $info == "PNG image data, $size x $size,"* ]] \
      || fail "icon for ${size}x$size is: $info"
  done

  local desktop=$root/usr/share/applications/$app_id.desktop
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate $app_id.desktop"
    # The entry must start the installed program and name the installed icon.
    local exec icon
    exec=$(desktop_value "$desktop" Exec)
    icon=$(desktop_value "$desktop" Icon)
    [ -x "$root/usr/bin/${exec%% *}" ] || fail "Exec=$exec is not an installed program"
    [ "$icon" = "$app_id" ] || fail "Icon=$icon, the installed icons are named $app_id"
  fi

  local metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
  if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $app_id.metainfo.xml"
    # Software centres join the metadata to the menu entry by these names.
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
      || fail "metainfo launchable does not name $app_id.desktop"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
  fi

  # The licence the metadata declares is the one the program ships under.
  local doc=$root/usr/share/doc/vantoriltime declared
  declared=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' "$metainfo")
  [ "$(head -n 1 "$source_root/LICENSE")" = "$declared License" ] || fail "LICENSE is not the $declared licence"
  [ "$(sed -n '/^Files: \*$/,/^$/s/^License: //p' "$doc/copyright")" = "$declared" ] \
    || fail "copyright does not give $declared for the program"
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" \
    || fail "copyright is not in the machine-readable format"
  # The manual page renders without a warning from man itself.
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/vantoriltime.1.gz" 2>&1 >/dev/null) \
    || fail "man cannot render vantoriltime.1"
  [ -z "$warnings" ] || fail "vantoriltime.1: $warnings"
  local latest
  latest=$(zcat "$doc/changelog.gz" | sed -n 1p)
  [[ $latest == "vantoriltime ($version) "* ]] || fail "changelog starts with: $latest"
}

# The command-line program runs from the install tree, and its man page is a
# gzipped page that man can format without warnings.
check_lst() {
  local root=$1 out
  out=$("$root/usr/bin/vantoril-lst" 79d51mW 2002-01-01 00:00:00) || fail "vantoril-lst did not run"
  [ "$out" = "1:22:30" ] || fail "vantoril-lst printed '$out', expected 1:22:30"
  local page=$root/usr/share/man/man1/vantoril-lst.1.gz
  [ -f "$page" ] || return 0
  [[ $(file -b "$page") == "gzip compressed data"* ]] || fail "vantoril-lst.1.gz is not gzipped"
  local warnings
  warnings=$(zcat "$page" | groff -man -ww -z 2>&1) || fail "groff cannot format vantoril-lst.1"
  [ -z "$warnings" ] || fail "vantoril-lst.1: $warnings"
}

check_deb() {
  local out=$scratch/deb
  cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB"; return; }

  local debs=("$out"/*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    cat "$scratch/cpack.log" >&2
    fail "cpack made ${#debs[@]} packages: ${debs[*]}"
    return
  fi
  local deb=${debs[0]}
  local arch
  arch=$(dpkg --print-architecture)
  [ "$(basename "$deb")" = "vantoriltime_${version}_$arch.deb" ] \
    || fail "package file is named $(basename "$deb")"

  local listing path
  listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
  for path in "${expected_files[@]}"; do
    grep -qxF "./$path" <<<"$listing" || fail "not in the package: /$path"
  done
  # Nothing may land outside /usr: no /usr/local, no build paths.
  if grep -v -e '^\./$' -e '^\./usr/' <<<"$listing" | grep -q .; then
    fail "files outside /usr: $(grep -v -e '^\./$' -e '^\./usr/' <<<"$listing" | tr '\n' ' ')"
  fi

  local field expected value
  while read -r field expected; do
    value=$(dpkg-deb -f "$deb" "$field")
    [ "$value" = "$expected" ] || fail "$field is '$value', expected '$expected'"
  done <<EOF
Package vantoriltime
Version $version
Architecture $arch
Section science
Maintainer VantorilTime developers <dev@vantoriltime.example.org>
EOF

  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  # The font and the platform plugins are loaded at run time; the Qt 6
  # libraries come from dpkg-shlibdeps, so their absence means it did not run.
  local needed
  for needed in fonts-liberation qt6-qpa-plugins qt6-wayland libqt6widgets6 libc6 liberfa1; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
  done

  # What a distribution asks of a package: no lintian error or warning. None
  # needs overriding; an override would go, with its reason, into the package
  # as /usr/share/lintian/overrides/vantoriltime.
  lintian --fail-on error,warning --display-info "$deb" >"$scratch/lintian.log" 2>&1 \
    || { grep -v '^running with root' "$scratch/lintian.log" >&2; fail "lintian"; }
}

case $mode in
  install) check_install ;;
  deb) check_deb ;;
  *) echo "unknown mode: $mode" >&2; exit 2 ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "$mode: $failures check(s) failed" >&2
  exit 1
fi
echo "$mode: all checks passed"
