#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs to build, test and run, where they are missing:
# setup.sh [PACKAGE...] (more packages, for the Windows build and its tests).
set -euo pipefail

packages=("$@" cmake g++ ninja-build qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
  fonts-ipafont-gothic unicode-data acl attr groff-base time locales libc-l10n desktop-file-utils appstream dpkg-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing ${missing[*]}" >&2
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# The Japanese locale, in which the tests check the program's Japanese messages, and a Shift-JIS
# one, in which they read logs as on a Japanese Windows system.
if ! locale -a | grep -qix 'ja_JP.utf8'; then
  "${as_root[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  "${as_root[@]}" locale-gen >/dev/null
fi
if ! locale -a | grep -qix 'ja_JP.sjis'; then
  "${as_root[@]}" localedef --no-warnings=ascii -f SHIFT_JIS -i ja_JP ja_JP.SJIS
fi
