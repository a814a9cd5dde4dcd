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

# The packages as a user takes them, on a Japanese system (code page 932): the portable zip
# converts a batch of two logs (one with a Japanese name), -c and - write bytes; its texts are as
# Notepad reads them, and the notices name every DLL it carries. The silent installer, for all
# users and for the user alone, puts the program where the installer's kind says, with links that
# lead to it and the install folder on PATH (a user's PATH longer than NSIS's strings too); the
# installed program converts and makes no file beside itself; the uninstaller leaves no file, link,
# PATH entry or registry key of ours.
"$root/scripts/setup.sh" python3 inotify-tools
export LANG=ja_JP.UTF-8
# Wine's menu builder would copy the Start menu links into the desktop's menus of this machine.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: packages: $*"; fi
}
same() { cmp -s "$1" <(printf '%b' "$2"); }
nothing() { [ -z "$1" ] || { echo "$1"; return 1; }; }
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
# The console program as cmd.exe runs it from a batch file: `tarnwick` finds tarnwick.com before
# tarnwick.exe on the PATH, waits and sets the exit status; the program expands wildcards itself;
# words redirected come in the console's code page (932 here), the cleaned text in the log's bytes.
# Its profile holds one setting as the window writes it, and no extension: the output is r1.txt.
printf '[Tarnwick]\r\nControls=TRUE\r\n' > "$portable/Tarnwick.ini"
sed 's/$/\r/' > "$work/console.bat" <<EOF
@set PATH=C:\\work\\tarnwick-$version-windows-x64;%PATH%
@cd /d C:\\work\\logs
@del r1.txt 2>nul
@tarnwick r1.log
@if exist r1.txt (echo made %ERRORLEVEL%) else (echo none %ERRORLEVEL%)
@tarnwick --bogus 2>nul
@echo %ERRORLEVEL%
@tarnwick -c *.log > C:\\work\\wildcard.out
@tarnwick -c nomatch*.log 2> C:\\work\\nomatch.txt
@echo %ERRORLEVEL%
@tarnwick --help > C:\\work\\help.txt
EOF
console=$(cd "$work" && wine cmd /c 'C:\work\console.bat' 2>/dev/null | tr -d '\r')
check test "$console" = "$(printf 'made 0\n2\n1')"
check same "$work/wildcard.out" "$expected$expected"
cp932_text() { iconv -f CP932 -t UTF-8 "$1" | grep -q -F "$2" && ! iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1; }
check cp932_text "$work/help.txt" 終了ステータス
check grep -q -F 'nomatch*.log' "$work/nomatch.txt"
# UTF-8 with a byte order mark, every line ended by CR LF.
notepad_text() { [ "$(head -c 3 "$1" | od -An -tx1)" = " ef bb bf" ] && ! grep -q -v $'\r$' "$1"; }
for text in README.txt README.ja.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  check notepad_text "$portable/$text"
done
for dll in $(cd "$portable" && find . -name '*.dll' ! -name 'tarnwick*' -printf '%P\n' | tr / '\\'); do
  check grep -q -F "$dll" "$portable/THIRD-PARTY-NOTICES.txt"
done
# Every place the build fills (the archive Debian's source is taken from) is filled.
check test -z "$(grep -o '@[A-Z][A-Z_]*@' "$portable/THIRD-PARTY-NOTICES.txt")"
unix_path() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_folder() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
# The file a shell link leads to: the local path of its link information, in the code page.
link_target() {
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
flags, = struct.unpack_from('<I', data, 0x14)
at = 0x4C
if flags & 1:
    at += 2 + struct.unpack_from('<H', data, at)[0]
if flags & 2:
    header, = struct.unpack_from('<I', data, at + 4)
    if header >= 0x24:
        start = at + struct.unpack_from('<I', data, at + 28)[0]
        end = start
        while data[end:end + 2] != b'\0\0':
            end += 2
        print(data[start:end].decode('utf-16-le'))
    else:
        start = at + struct.unpack_from('<I', data, at + 16)[0]
        print(data[start:data.index(b'\0', start)].decode('cp932'))
EOF
}
leads_to_program() { local target; target=$(link_target "$1") && [ -f "$(unix_path "$target")" ] && [ "${target,,}" = "${2,,}" ]; }
# The files made in a folder while a command runs (inotify's record), one a line; the watch is up
# once inotifywait says so, and every event before the marker made after the command is read.
files_made_during() {
  local folder="$1" line up=0
  shift
  coproc inotifywait -m -r -e create -e moved_to --format '%w%f' "$folder" 2>&1
  while read -r line <&"${COPROC[0]}"; do [ "$line" = "Watches established." ] && { up=1; break; }; done
  "$@" >/dev/null 2>&1 || true
  : > "$folder/.watched"
  while read -r line <&"${COPROC[0]}"; do [ "$line" = "$folder/.watched" ] && { up=2; break; }; echo "$line"; done
  kill "$COPROC_PID" 2>/dev/null || true
  rm -f "$folder/.watched"
  [ "$up" -eq 2 ] || echo "(no watch on $folder)"
}
user_path() { wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^ *Path *REG_[A-Z_]* *//p'; }
system_environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
system_path() { wine reg query "$system_environment" /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^ *Path *REG_[A-Z_]* *//p'; }
# What is left of ours once the uninstaller has ended (the copy of itself it runs too): files and
# links named after the program, and registry keys and values that name it.
uninstall() { wine "$1" /S >/dev/null 2>&1 || true; wineserver -w; }
leftovers() {
  find "$drive" -path "$work" -prune -o -iname '*tarnwick*' -print
  grep -i -l 'tarnwick' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" || true
}
# The installed program converts a log and makes no file beside itself; its uninstaller takes the
# install folder off the PATH again (read by $2; $3 what it held before) and leaves nothing of ours.
converts_then_uninstalls() {
  local installed=$1 read_path=$2 path_before=$3 made left
  rm -f "$work/logs/r1.txt"
  made=$(cd "$work" && files_made_during "$installed" wine "$installed/tarnwick.exe" 'C:\work\logs\r1.log')
  check nothing "$made"
  check same "$work/logs/r1.txt" "$expected"
  uninstall "$installed/Uninstall.exe"
  check test "$("$read_path")" = "$path_before"
  left=$(leftovers)
  check nothing "$left"
}

# For all users, with the install folder on the system's PATH.
system_path_before=$(system_path)
wine "$build/tarnwick-$version-windows-x64-setup.exe" /S /AddToPath >/dev/null 2>&1 || true
installed="$drive/Program Files/Tarnwick"
check test -f "$installed/tarnwick.exe"
check test "$(cd "$installed" && find . ! -name Uninstall.exe | sort)" = "$(cd "$portable" && find . ! -name Tarnwick.ini | sort)"
check test "$(system_path)" = "$system_path_before;C:\Program Files\Tarnwick"
check leads_to_program "$(unix_path "$(windows_folder ProgramData)")/Microsoft/Windows/Start Menu/Programs/Tarnwick.lnk" 'C:\Program Files\Tarnwick\tarnwick.exe'
check leads_to_program "$(unix_path "$(windows_folder APPDATA)")/Microsoft/Windows/SendTo/Tarnwick.lnk" 'C:\Program Files\Tarnwick\tarnwick.exe'
converts_then_uninstalls "$installed" system_path "$system_path_before"

# For the user alone, with a PATH of the user's longer than NSIS's strings hold.
long_path=$(printf 'C:\\Tools\\t%03d;' $(seq 150))C:\\Tools\\last
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null 2>&1
wine "$build/tarnwick-$version-windows-x64-setup.exe" /S /CurrentUser /AddToPath >/dev/null 2>&1 || true
user_programs="$(windows_folder LOCALAPPDATA)\\Programs\\Tarnwick"
installed=$(unix_path "$user_programs")
check test -f "$installed/tarnwick.exe"
check test ! -e "$drive/Program Files/Tarnwick"
check test "$(user_path)" = "$long_path;$user_programs"
check leads_to_program "$(unix_path "$(windows_folder APPDATA)")/Microsoft/Windows/Start Menu/Programs/Tarnwick.lnk" "$user_programs\\tarnwick.exe"
check leads_to_program "$(unix_path "$(windows_folder APPDATA)")/Microsoft/Windows/SendTo/Tarnwick.lnk" "$user_programs\\tarnwick.exe"
converts_then_uninstalls "$installed" user_path "$long_path"
wineserver -k 2>/dev/null || true
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
