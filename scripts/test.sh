#!/usr/bin/env bash
# Sets up, builds with warnings as errors and runs the tests headless: test.sh [--sanitize|--scalar]
# With --sanitize the build (in build-asan) adds AddressSanitizer and UndefinedBehaviorSanitizer;
# with --scalar the build (in build-scalar) scans the hot paths without SSE2 (-DTARNWICK_SIMD=OFF),
# as every processor without it (ARM) does.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
case "${1:-}" in
  --sanitize)
    folder=build-asan
    "$root/scripts/build.sh" "$folder" -DTARNWICK_WERROR=ON -DTARNWICK_SANITIZE=ON
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ;;
  --scalar)
    folder=build-scalar
    "$root/scripts/build.sh" "$folder" -DTARNWICK_WERROR=ON -DTARNWICK_SIMD=OFF
    ;;
  "")
    folder=build
    "$root/scripts/build.sh" "$folder" -DTARNWICK_WERROR=ON
    ;;
  *)
    echo "usage: test.sh [--sanitize|--scalar]" >&2
    exit 2
    ;;
esac
cd "$root/$folder"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
