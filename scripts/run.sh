#!/usr/bin/env bash
# Sets up and builds Tarnwick, then runs it: run.sh [LOG...]
# With logs, converts them. Without, opens the window where there is a display, and otherwise
# converts the bundled sample capture and says where the cleaned copy went.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build >/dev/null
program="$root/build/tarnwick"

# A first profile beside the built program: its settings and temporary file stay in build/ (the
# portable layout) rather than in the user's own folders.
[ -e "$root/build/Tarnwick.ini" ] || printf '[Tarnwick]\n' > "$root/build/Tarnwick.ini"

if [ $# -gt 0 ]; then
  exec "$program" "$@"
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
mkdir -p "$root/build/sample"
cp "$root/examples/router-session.log" "$root/build/sample/"
"$program" "$root/build/sample/router-session.log"
echo "No display: converted the sample capture examples/router-session.log."
echo "Cleaned copy: build/sample/router-session.txt"
