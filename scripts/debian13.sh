#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command of this source tree inside a Debian 13 ("trixie") root, so
# the project is proved on Debian's current stable release as well as on the
# machine's own. The root is bootstrapped from Debian's archive when it is
# absent and kept outside the source tree, so later runs only bring it up to
# date; the source tree (its tracked files and new ones git does not ignore)
# is copied in afresh each time, so nothing built on the host is reused.
#
# Usage: scripts/debian13.sh [COMMAND [ARG...]]   (default: ./scripts/test.sh)
#
#   VANTORIL_DEBIAN13_ROOT   where the root is kept
#                            (default /var/cache/vantoriltime/debian13)
#   VANTORIL_DEBIAN_MIRROR   the archive (default http://deb.debian.org/debian)
#
# Needs root (debootstrap, mount, chroot); through sudo when not root.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "$(id -u)" -ne 0 ]; then exec sudo -E "$0" "$@"; fi
if [ $# -eq 0 ]; then set -- ./scripts/test.sh; fi

chroot_dir="${VANTORIL_DEBIAN13_ROOT:-/var/cache/vantoriltime/debian13}"
mirror="${VANTORIL_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
inside=/work/vantoriltime

"$root/scripts/install-deps.sh" debootstrap

if [ ! -f "$chroot_dir/etc/debian_version" ]; then
  echo "Bootstrapping Debian 13 into $chroot_dir"
  rm -rf "$chroot_dir.partial"
  mkdir -p "$(dirname "$chroot_dir")"
  debootstrap --variant=minbase trixie "$chroot_dir.partial" "$mirror" >"$chroot_dir.log" 2>&1 \
    || { tail -n 20 "$chroot_dir.log"; echo "debootstrap failed" >&2; exit 1; }
  # Renamed only when whole, so an interrupted bootstrap is begun again.
  mv "$chroot_dir.partial" "$chroot_dir"
fi

# The stable release as a fresh machine gets it: with its point updates and
# security fixes. No service starts inside the root.
security="${mirror%/debian}/debian-security"
cat >"$chroot_dir/etc/apt/sources.list" <<EOF
deb $mirror trixie main
deb $mirror trixie-updates main
deb $security trixie-security main
EOF
printf '#!/bin/sh\nexit 101\n' >"$chroot_dir/usr/sbin/policy-rc.d"
chmod 0755 "$chroot_dir/usr/sbin/policy-rc.d"
cp -L /etc/resolv.conf "$chroot_dir/etc/resolv.conf"

mounted=()
cleanup() {
  local status=$? pid i
  trap - EXIT INT TERM HUP
  # Whatever a test left running inside (an X server, a compositor) would
  # keep the mounts busy.
  for pid in /proc/[0-9]*; do
    if [ "$(readlink "$pid/root" 2>/dev/null)" = "$chroot_dir" ]; then
      kill -KILL "${pid#/proc/}" 2>/dev/null || true
    fi
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

bind() {
  mkdir -p "$chroot_dir$2"
  mount "${@:3}" "$1" "$chroot_dir$2"
  mounted+=("$chroot_dir$2")
}
bind proc /proc -t proc
bind sysfs /sys -t sysfs
bind /dev /dev --bind
bind /dev/pts /dev/pts --bind
bind tmpfs /dev/shm -t tmpfs
bind tmpfs /run -t tmpfs

# A fresh clone of the source tree, with the working tree's changes laid
# over it, so a run by hand proves what is about to be committed.
rm -rf "${chroot_dir:?}$inside"
mkdir -p "$(dirname "$chroot_dir$inside")"
git clone -q --no-local "$root" "$chroot_dir$inside"
(cd "$root" && git ls-files -z --modified --others --exclude-standard |
  xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh |
  tar --null -T - -cf -) | tar -xf - -C "$chroot_dir$inside"

echo "Debian $(cat "$chroot_dir/etc/debian_version") root: $chroot_dir; running $*"
# The machine's environment is not carried in: only what a login would give.
chroot "$chroot_dir" /usr/bin/env -i \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" ${CI:+CI="$CI"} \
  /bin/bash -c 'cd "$1" && shift && exec "$@"' bash "$inside" "$@"
