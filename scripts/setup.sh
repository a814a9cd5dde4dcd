#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs to build, test and run, where they are missing.
set -euo pipefail

packages=(cmake g++ ninja-build qt6-base-dev libgl-dev fonts-ipafont-gothic acl attr groff-base time)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing ${missing[*]}" >&2
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
