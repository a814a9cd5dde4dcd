#!/usr/bin/env bash
# Times a conversion of a realistic console capture (default 120 MB) against what the same job
# costs otherwise: the I/O floor of two passes (two cats) and `col -b`. GNU cat copies with
# copy_file_range inside the kernel and never reads the bytes, so the floor of two passes that
# do read them (dd with 1 MiB blocks) is shown too. Shows peak memory for two capture sizes,
# and the scroll rebuild of a noisy 1 MB line against a plain one.
#   bench/bench.sh [MEGABYTES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build >/dev/null
bench="$root/build/bench/tarnwick-bench"
megabytes=${1:-120}
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
capture="$work/capture.log"

# Best wall time of three runs of a shell command, in seconds.
best_of_3() {
  local best=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s%N)
    bash -c "$1"
    end=$(date +%s%N)
    local seconds
    seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$seconds; fi
  done
  echo "$best"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

"$bench" capture "$capture" "$megabytes"
size=$(stat -c %s "$capture")
cat "$capture" > /dev/null

floor=$(best_of_3 "cat '$capture' > '$work/tmp' && cat '$work/tmp' > '$work/floor.out'")
readfloor=$(best_of_3 "dd if='$capture' of='$work/tmp' bs=1M status=none && dd if='$work/tmp' of='$work/floor.out' bs=1M status=none")
plain=$(best_of_3 "'$bench' convert '$capture' '$work/plain.out' > '$work/plain.stats'")
scroll=$(best_of_3 "'$bench' convert --scroll '$capture' '$work/scroll.out' > '$work/scroll.stats'")
# The program itself, headless, as a batch of one file.
program=$(best_of_3 "env -u DISPLAY -u WAYLAND_DISPLAY '$root/build/tarnwick' --ext out '$capture'")
# The same as a filter in a pipe: one pass, no temporary file.
pipe=$(best_of_3 "'$root/build/tarnwick' - < '$capture' > '$work/pipe.out'")
cmp -s "$work/capture.out" "$work/pipe.out" || { echo "the pipe's output differs from the file's" >&2; exit 1; }
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
file_peak=$(peak env -u DISPLAY -u WAYLAND_DISPLAY "$root/build/tarnwick" --ext out "$capture")
pipe_peak=$(peak sh -c "'$root/build/tarnwick' - < '$capture'")
col=$(best_of_3 "col -b < '$capture' > '$work/col.out'")

small="$work/small.log"
head -c $((size / 4)) "$capture" > "$small"
"$bench" convert "$small" "$work/small.out" > "$work/small.stats"

read -r noisy_plain noisy_random < <("$bench" lines)

# One line of 100 MB: typed text with erased characters, no line end anywhere.
long="$work/long.log"
(yes $'show running-config\b\bg ' || true) | tr -d '\n' | head -c 100000000 > "$long" || true
long_plain=$(best_of_3 "'$bench' convert '$long' '$work/long.out' > '$work/long.stats'")
long_scroll=$(best_of_3 "'$bench' convert --scroll '$long' '$work/long-scroll.out' > '$work/long-scroll.stats'")

printf 'Capture: %s MB, %s lines\n\n' "$((size / 1048576))" "$(wc -l < "$capture")"
printf '%-34s %8s s\n' "two cats (I/O floor of two passes)" "$floor" "two dd (read and write floor)" "$readfloor" \
  "tarnwick engine" "$plain" "tarnwick engine, scroll setting on" "$scroll" \
  "tarnwick program (batch, headless)" "$program" "tarnwick program (pipe: - < log)" "$pipe" "col -b" "$col"
echo
printf 'conversion / floor:          %s  (goal at most 2)\n' "$(ratio "$plain" "$floor")"
printf 'conversion, scroll / floor:  %s  (goal at most 3)\n' "$(ratio "$scroll" "$floor")"
printf 'program / floor:             %s\n' "$(ratio "$program" "$floor")"
printf 'conversion / dd floor:       %s;  scroll / dd floor: %s\n' "$(ratio "$plain" "$readfloor")" "$(ratio "$scroll" "$readfloor")"
printf 'pipe / file mode:            %s  (goal at most 1); peak memory %s KiB against %s KiB (goal within 4096)\n' \
  "$(ratio "$pipe" "$program")" "$pipe_peak" "$file_peak"
printf 'col -b / conversion:         %s  (goal at least 20)\n' "$(ratio "$col" "$plain")"
printf 'peak memory:                 %s KiB on %s MB, %s KiB on %s MB  (goal under 65536, independent of size)\n' \
  "$(cut -d' ' -f2 "$work/plain.stats")" "$((size / 1048576))" "$(cut -d' ' -f2 "$work/small.stats")" "$((size / 4194304))"
printf 'one line of 100 MB:          %s s (scroll %s s), peak memory %s KiB (scroll %s KiB)\n' "$long_plain" "$long_scroll" \
  "$(cut -d' ' -f2 "$work/long.stats")" "$(cut -d' ' -f2 "$work/long-scroll.stats")"
printf 'scroll rebuild of a 1 MB line: plain %s s, random characters/BackSpaces/blanks/$ %s s  (ratio %s)\n' \
  "$noisy_plain" "$noisy_random" "$(ratio "$noisy_random" "$noisy_plain")"
