#!/usr/bin/env bash
# Sets up, builds with warnings as errors and runs the tests headless: test.sh [--sanitize]
# With --sanitize the build (in build-asan) adds AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
if [ "${1:-}" = "--sanitize" ]; then
  folder=build-asan
  "$root/scripts/build.sh" "$folder" -DTARNWICK_WERROR=ON -DTARNWICK_SANITIZE=ON
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  folder=build
  "$root/scripts/build.sh" "$folder" -DTARNWICK_WERROR=ON
fi
cd "$root/$folder"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
