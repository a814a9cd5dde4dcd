#!/usr/bin/env bash
# Builds Tarnwick for Windows (build.sh) and runs its test suites under Wine, headless, in a
# fresh Wine prefix in the build folder, then the packages as a user takes them: test.sh
# The build folder is build-windows, or the one TARNWICK_WINDOWS_BUILD names.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
"$root/scripts/setup.sh" wine wine64 unzip
build="${TARNWICK_WINDOWS_BUILD:-$root/build-windows}"
export TARNWICK_WINDOWS_BUILD="$build"
"$root/scripts/windows/build.sh" >/dev/null
qt="${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/qt6-mingw"
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine hands a Windows program no QT_* variable; WINEQT_* arrive as QT_*.
export WINEPATH="Z:$qt/bin" WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1
export WINEQT_QPA_FONTDIR="Z:/usr/share/fonts/opentype/ipafont-gothic"
rm -rf "$WINEPREFIX"
wineboot --init >/dev/null 2>&1
# The suites through ctest, which runs each under Wine (the toolchain file's cross emulator), one
# after another as on Linux. The count is of the suites' test functions, from the Qt Test totals
# in ctest's log of their output; a suite without totals (a crash, a timeout) counts as one
# failure, and so does one that ctest failed though its totals say none failed (its exit code).
log="$build/Testing/Temporary/LastTest.log"
failed_suites="$build/Testing/Temporary/LastTestsFailed.log"
# (ctest -N, which lists the suites, writes a log of its own: first.)
suites=$(cd "$build" && ctest -N | sed -n -E 's/^ *Test +#[0-9]+: //p')
rm -f "$log" "$failed_suites"
(cd "$build" && ctest --output-on-failure >/dev/null 2>&1) || true
[ -f "$failed_suites" ] || : > "$failed_suites"
passed=0
failed=0
for name in $suites; do
  totals=$(awk -v name="$name" '/^[0-9]+\/[0-9]+ Test: / { in_suite = ($3 == name) }
    in_suite && /^Totals: / { print; exit }' "$log")
  if [ -n "$totals" ]; then
    read -r suite_passed suite_failed < <(echo "$totals" | sed -E 's/^Totals: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/')
  else
    suite_passed=0 suite_failed=1
  fi
  if [ "$suite_failed" -eq 0 ] && grep -qx "[0-9]*:$name" "$failed_suites"; then
    suite_failed=1
  fi
  echo "$name: $suite_passed passed, $suite_failed failed"
  passed=$((passed + suite_passed))
  failed=$((failed + suite_failed))
done
[ "$failed" -eq 0 ] || grep -E -A3 '^FAIL!' "$log" || true

# The packages as a user takes them: the portable zip converts a batch of two logs (one with a
# Japanese name), -c and - write bytes; the silent installer puts the program under Program Files,
# and the installed program converts and writes nothing beside itself.
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: packages: $*"; fi
}
same() { cmp -s "$1" <(printf '%b' "$2"); }
version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
drive="$WINEPREFIX/drive_c"
work="$drive/work"
mkdir -p "$work/logs"
printf 'R1#shpw\b\bow run\r\n<--- More --->\r              \rinterface Gi0/1\n' > "$work/logs/r1.log"
cp "$work/logs/r1.log" "$work/logs/ルーター2.log"
expected='R1#show run\r\ninterface Gi0/1\r\n'
(cd "$work" && unzip -q -o "$build/tarnwick-$version-windows-x64.zip")
portable="$work/tarnwick-$version-windows-x64"
check test -f "$portable/Tarnwick.ini"
(cd "$work" && wine "$portable/tarnwick.exe" 'C:\work\logs\r1.log' 'C:\work\logs\ルーター2.log' >/dev/null 2>&1) || true
check same "$work/logs/r1.txt" "$expected"
check same "$work/logs/ルーター2.txt" "$expected"
wine "$portable/tarnwick.exe" -c 'C:\work\logs\r1.log' > "$work/c.out" 2>/dev/null || true
check same "$work/c.out" "$expected"
wine "$portable/tarnwick.exe" - < "$work/logs/r1.log" > "$work/pipe.out" 2>/dev/null || true
check same "$work/pipe.out" "$expected"
wine "$build/tarnwick-$version-windows-x64-setup.exe" /S >/dev/null 2>&1 || true
installed="$drive/Program Files/Tarnwick"
check test -f "$installed/tarnwick.exe"
before=$(ls -A "$installed" | sort)
rm -f "$work/logs/r1.txt"
(cd "$work" && wine "$installed/tarnwick.exe" 'C:\work\logs\r1.log' >/dev/null 2>&1) || true
check same "$work/logs/r1.txt" "$expected"
check test "$(ls -A "$installed" | sort)" = "$before"
wineserver -k 2>/dev/null || true
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
