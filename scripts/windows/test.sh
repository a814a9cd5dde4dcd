#!/usr/bin/env bash
# Builds Tarnwick for Windows (build.sh) and runs its test suites under Wine, headless, in a
# fresh Wine prefix in the build folder: test.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
"$root/scripts/windows/build.sh" >/dev/null
if ! command -v wine >/dev/null; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends wine wine64 >/dev/null
fi
build="$root/build-windows"
qt="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/qt6-mingw"
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine hands a Windows program no QT_* variable; WINEQT_* arrive as QT_*.
export WINEPATH="Z:$qt/bin" WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1
export WINEQT_QPA_FONTDIR="Z:/usr/share/fonts/opentype/ipafont-gothic"
rm -rf "$WINEPREFIX"
wineboot --init >/dev/null 2>&1
passed=0
failed=0
for suite in "$build"/tst_*.exe; do
  name=$(basename "$suite" .exe)
  log="$build/Testing/$name.txt"
  mkdir -p "$build/Testing"
  rm -f "$log"
  (cd "$build" && timeout 600 wine "$suite" -o "$log,txt" >/dev/null 2>&1) || true
  totals=$(grep -E '^Totals:' "$log" 2>/dev/null || echo "Totals: 0 passed, 1 failed")
  suite_passed=$(echo "$totals" | sed -E 's/^Totals: ([0-9]+) passed.*/\1/')
  suite_failed=$(echo "$totals" | sed -E 's/^Totals: [0-9]+ passed, ([0-9]+) failed.*/\1/')
  echo "$name: $suite_passed passed, $suite_failed failed"
  [ "$suite_failed" -eq 0 ] || grep -E -A3 '^FAIL' "$log" || true
  passed=$((passed + suite_passed))
  failed=$((failed + suite_failed))
done
wineserver -k 2>/dev/null || true
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
