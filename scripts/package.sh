#!/usr/bin/env bash
# Sets up, builds and packages Tarnwick as a Debian package: package.sh
# The .deb lands in build-package/; install it with: apt-get install ./build-package/tarnwick_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
# Debian's build flags, hardening included, as a Debian package is built with.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
cmake -S "$root" -B "$root/build-package" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DTARNWICK_WERROR=ON \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$root/build-package"
(cd "$root/build-package" && cpack -G DEB)
ls "$root"/build-package/tarnwick_*.deb
