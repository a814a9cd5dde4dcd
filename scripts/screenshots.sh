#!/usr/bin/env bash
# Shows the window as a person sees it: under Xvfb with a window manager, in a Japanese session,
# it takes screenshots of the context menu with its encoding submenu, the open-file dialog, a
# failure message, the window after a conversion, the progress of a run of 10 million lines, the
# window after aborting it, the widened window, and a usage error on a terminal:
# screenshots.sh [FOLDER] (default build/screenshots).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/screenshots}"
for tool in Xvfb openbox xdotool import xterm; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install xvfb openbox xdotool imagemagick xterm)" >&2; exit 1; }
done
"$root/scripts/build.sh" build >/dev/null
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/ログ" "$work/logs"
cp "$root/build/tarnwick" "$work/bin/"
printf '[Tarnwick]\n' > "$work/bin/Tarnwick.ini"
cp "$root/examples/router-session.log" "$work/ログ/ルーター1.log"
cp "$root/examples/router-session.log" "$work/logs/router1.log"
python3 -c "import sys; sys.stdout.write(''.join('R1#shpw\b\bow line %d\n' % i for i in range(10_000_000)))" > "$work/logs/10m.log"

export DISPLAY=:97 LANG=ja_JP.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
Xvfb "$DISPLAY" -screen 0 800x600x24 >/dev/null 2>&1 &
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
(cd "$work" && "$work/bin/tarnwick" >/dev/null 2>&1) &
window=""
for _ in $(seq 50); do window=$(xdotool search --name 'Tarnwick Ver' 2>/dev/null | head -1) && [ -n "$window" ] && break; sleep 0.2; done
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 1; }
source_box() { click 180 16; xdotool key ctrl+a; xdotool type --delay 5 "$1"; }

# A right-click on a label: the controls item and the encoding submenu, opened.
xdotool mousemove --window "$window" 40 66 click 3; sleep 1
xdotool key Down Down Right; sleep 1
import -window root "$out/context-menu-encoding.png"
xdotool key Escape Escape; sleep 0.5

click 180 16; xdotool key ctrl+a BackSpace
click 288 16 # 参照, seeded with the path in the source box
import -window root "$out/open-file-dialog.png"
xdotool key Escape; sleep 0.5

source_box "$work/logs/missing.log" # typed: xdotool types ASCII reliably
click 144 108 # 変 換
import -window root "$out/failure-message.png"
xdotool key Return; sleep 0.5

source_box "$work/logs/router1.log"
click 144 108
import -window root "$out/after-conversion.png"

source_box "$work/logs/10m.log"
xdotool mousemove --window "$window" 144 108 click 1
sleep 0.6
import -window root "$out/progress-10-million-lines.png"
xdotool mousemove --window "$window" 256 108 click 1 # 中 断
sleep 1
import -window root "$out/after-abort.png"

xdotool windowsize "$window" 640 129; sleep 1
source_box "$work/logs/router1.log"
import -window root "$out/widened-window.png"

xterm -geometry 100x6+0+400 -fa 'IPAGothic' -fs 10 -e bash -c "'$work/bin/tarnwick' --bogus; sleep 30" &
sleep 2
import -window root "$out/usage-error.png"
ls "$out"
