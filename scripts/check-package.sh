#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root (debootstrap) and runs the program from
# it there: check-package.sh [DEB] (default: what scripts/package.sh made). Needs root and the
# Debian archive that this machine's apt uses; takes a few minutes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb="${1:-$(ls "$root"/build-package/tarnwick_*.deb | tail -1)}"
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
target=$(mktemp -d /tmp/tarnwick-chroot.XXXXXX)
trap 'umount "$target/proc" 2>/dev/null || true; rm -rf "$target"' EXIT
# The archive as apt is set up here: the first URI of a deb822 source, else of a one-line one,
# leaving the security archive aside.
mirror=$(grep -h -E '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{ print $2 }' | grep -v -- '-security' | head -1 || true)
if [ -z "$mirror" ]; then
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | sed -E -n 's/^deb +(\[[^]]*\] +)?([^ ]+).*/\2/p' \
    | grep -v -- '-security' | head -1 || true)
fi
[ -n "$mirror" ] || { echo "check-package.sh: no Debian archive in apt's sources" >&2; exit 1; }
debootstrap --variant=minbase bookworm "$target" "$mirror" >/dev/null
mount -t proc proc "$target/proc"
cp /etc/resolv.conf "$target/etc/resolv.conf"
cp "$deb" "$target/tmp/"
chroot "$target" bash -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/$(basename "$deb") >/dev/null"
chroot "$target" bash -euc '
  tarnwick --version
  cd /tmp && printf "R1#shpw\b\bow run\n" > r1.log && tarnwick --ext txt r1.log && cmp r1.txt <(printf "R1#show run\r\n")
  ls /usr/share/applications/tarnwick.desktop /usr/share/man/man1/tarnwick.1.gz /usr/share/man/ja/man1/tarnwick.1.gz /usr/share/icons/hicolor/scalable/apps/tarnwick.svg >/dev/null
  echo "installed and converting"'
