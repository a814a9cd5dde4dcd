#!/usr/bin/env bash
# Builds Tarnwick for Windows x86-64 on Debian with mingw-w64 and a Qt built for it, and makes its
# packages: build.sh [CMAKE-OPTION...]
# Writes into build-windows/ (or the folder TARNWICK_WINDOWS_BUILD names, so that two builds can
# run side by side): tarnwick.exe, the test suites, tarnwick-VERSION-windows-x64.zip (the
# portable folder) and tarnwick-VERSION-windows-x64-setup.exe (the NSIS installer). The Qt for
# mingw (qt6-mingw-6.4.2.tar.xz, made by build-qt-mingw.sh from Debian's qt6-base source) is
# looked for at $TARNWICK_QT_MINGW, then in ../shared/toolchains/, and unpacked into a cache.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix nsis zip

archive="${TARNWICK_QT_MINGW:-}"
[ -n "$archive" ] || archive="$root/../shared/toolchains/qt6-mingw-6.4.2.tar.xz"
[ -f "$archive" ] || { echo "build.sh: no Qt for mingw at $archive (set TARNWICK_QT_MINGW, or make one with build-qt-mingw.sh)" >&2; exit 1; }
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick"
qt="$cache/qt6-mingw"
stamp="$cache/qt6-mingw.unpacked-from"
if [ ! -d "$qt" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$(stat -c '%s %Y' "$archive")" ]; then
  rm -rf "$qt" && mkdir -p "$cache"
  tar -xJf "$archive" -C "$cache"
  stat -c '%s %Y' "$archive" > "$stamp"
fi
# Qt's Japanese texts (the same Qt version's, Debian's) where the Windows Qt looks for them, as
# the packages carry them beside the program.
mkdir -p "$qt/translations"
cp /usr/share/qt6/translations/qtbase_ja.qm "$qt/translations/"

build="${TARNWICK_WINDOWS_BUILD:-$root/build-windows}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows-toolchain.cmake" \
  -DQT_MINGW_PREFIX="$qt" -DTARNWICK_WERROR=ON "$@" >/dev/null
cmake --build "$build"
version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
(cd "$build" \
  && cpack -G NSIS -D CPACK_PACKAGE_FILE_NAME="tarnwick-$version-windows-x64-setup" >/dev/null \
  && cpack -G ZIP -D CPACK_COMPONENTS_ALL="program;portable" -D CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY=ON >/dev/null)
ls "$build"/tarnwick.exe "$build"/tarnwick-"$version"-windows-x64.zip "$build"/tarnwick-"$version"-windows-x64-setup.exe
