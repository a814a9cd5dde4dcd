#!/usr/bin/env bash
# Times whole-program conversions of a realistic console capture (default 120 MB) against the
# I/O floor of the job (bench/io-floor.cpp: the same two passes of 1 MiB reads and writes, CRs
# dropped, LF written as CR LF, through a temporary file, with no cleaning), and prints every
# ratio against it with the user CPU time and the peak memory. `cat` and `dd` (one pass) are
# shown for orientation only: GNU cat copies inside the kernel without reading the bytes.
# It also shows the peak memory of a capture that is one line of 100 MB (or MEGABYTES, when
# fewer) in every mode, what 100 pager prompts of the user cost, and what the mask setting costs
# (a row "100 MB realistic capture with --mask" with bench.sh 100), and what 400 logs of 1 MB take
# one at a time, two at once (-j 2) and as two programs at once (xargs -P 2).
#   bench/bench.sh [MEGABYTES]
# With TARNWICK_BUILD set to a build folder (relative to the checkout), that folder is built
# and measured, without the package setup; else build/, after it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
folder=${TARNWICK_BUILD:-build}
[ -n "${TARNWICK_BUILD:-}" ] || "$root/scripts/setup.sh"
"$root/scripts/build.sh" "$folder" >/dev/null
bench="$root/$folder/bench/tarnwick-bench"
floor="$root/$folder/bench/io-floor"
program="$root/$folder/tarnwick"
megabytes=${1:-120}
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
capture="$work/capture.log"
unset DISPLAY WAYLAND_DISPLAY

# One run of a shell command: wall seconds (to the millisecond), user CPU seconds, peak KiB.
run_once() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%U %M' -o "$work/time" bash -c "$1"
  end=$(date +%s%N)
  printf '%s %s\n' "$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')" "$(cat "$work/time")"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

"$bench" capture "$capture" "$megabytes"
size=$(stat -c %s "$capture")
cat "$capture" > /dev/null

printf 'Capture: %s MB, %s lines\n\n' "$((size / 1048576))" "$(wc -l < "$capture")"
# Each command runs paired with the floor, nine rounds of all of them, each run after a sync so
# that none waits for the disk's write-back of the one before; a command's ratio is the median of
# its nine pairs' ratios (wall and user CPU time), its time and memory the medians of its runs:
# on a virtual machine single runs vary by a fifth.
# (cat and dd run once afterwards: the blocks of the large files they truncate are freed while
# the next runs go on, which would weigh on whichever comes next.)
names=("tarnwick" "tarnwick - (pipe)" "tarnwick --scroll" "tarnwick --controls" "tarnwick --controls --scroll")
commands=("'$program' --ext out '$capture'" "'$program' - < '$capture' > '$work/pipe.out'"
  "'$program' --scroll --ext out '$capture'" "'$program' --controls --ext out '$capture'"
  "'$program' --controls --scroll --ext out '$capture'")
goals=("(goal at most 1.3)" "(goal at most 0.8: one pass of two)" "(goal at most 1.5)" "(goal at most 1.5)" "(goal at most 1.5)")
floor_command="'$floor' '$capture' '$work/floor.out'"
for _ in 1 2 3 4 5 6 7 8 9; do
  for i in "${!commands[@]}"; do
    sync; run_once "$floor_command" >> "$work/floortimes.$i"
    sync; run_once "${commands[$i]}" >> "$work/times.$i"
  done
done
"$program" --ext out "$capture" && cmp -s "$work/capture.out" "$work/pipe.out" \
  || { echo "the pipe's output differs from the file's" >&2; exit 1; }
median() { sort -n | awk '{ line[NR] = $0 } END { print line[int((NR + 1) / 2)] }'; }
read -r floor_s floor_u floor_m < <(cat "$work"/floortimes.* | median)
printf '%-36s %7s s  user %5s s  %7s KiB\n' "I/O floor (two passes, user space)" "$floor_s" "$floor_u" "$floor_m"
for i in "${!commands[@]}"; do
  read -r s u m < <(median < "$work/times.$i")
  wall=$(paste -d' ' "$work/times.$i" "$work/floortimes.$i" | awk '{ printf "%.3f\n", $1 / $4 }' | median)
  user=$(paste -d' ' "$work/times.$i" "$work/floortimes.$i" | awk '{ printf "%.2f\n", ($5 > 0 ? $2 / $5 : 0) }' | median)
  printf '%-36s %7s s  user %5s s  %7s KiB   %.2f x floor (user %.2f x)  %s\n' "${names[$i]}" "$s" "$u" "$m" "$wall" "$user" "${goals[$i]}"
done
once_names=("cat, one pass (kernel copies)" "dd, one pass, 1 MiB blocks")
once_commands=("cat '$capture' > '$work/cat.out'" "dd if='$capture' of='$work/dd.out' bs=1M status=none")
for i in "${!once_commands[@]}"; do
  sync
  read -r s _ < <(run_once "${once_commands[$i]}")
  printf '%-36s %7s s  (once)  %s x floor\n' "${once_names[$i]}" "$s" "$(ratio "$s" "$floor_s")"
done
# The user's pager prompts, each line that may be one compared with all of them: 100 against
# none, in pairs as above.
prompts=()
for n in $(seq 100); do prompts+=(--pager "'Page * of * --$n'"); done
without_prompts="'$program' --controls --ext out '$capture'"
with_prompts="'$program' --controls ${prompts[*]} --ext out '$capture'"
for _ in 1 2 3 4 5 6 7 8 9; do
  sync; run_once "$without_prompts" >> "$work/without-prompts"
  sync; run_once "$with_prompts" >> "$work/with-prompts"
done
read -r s u m < <(median < "$work/with-prompts")
wall=$(paste -d' ' "$work/with-prompts" "$work/without-prompts" | awk '{ printf "%.3f\n", $1 / $4 }' | median)
printf '%-36s %7s s  user %5s s  %7s KiB   %.2f x without them  (goal within 3)\n' \
  "100 prompts, $((size / 1048576)) MB (--controls)" "$s" "$u" "$m" "$wall"
# Masking: the same capture with the mask setting on against off, in pairs as above. The capture
# holds none of the shapes' keywords but in a few words that look alike ("address", "rate"), so
# this is the cost of looking for them.
without_mask="'$program' --ext out '$capture'"
with_mask="'$program' --mask --ext out '$capture'"
for _ in 1 2 3 4 5 6 7 8 9; do
  sync; run_once "$without_mask" >> "$work/without-mask"
  sync; run_once "$with_mask 2> /dev/null" >> "$work/with-mask"
done
read -r s u m < <(median < "$work/with-mask")
wall=$(paste -d' ' "$work/with-mask" "$work/without-mask" | awk '{ printf "%.3f\n", $1 / $4 }' | median)
printf '%-36s %7s s  user %5s s  %7s KiB   %.2f x without it  (goal within 1.2)\n' \
  "$((size / 1048576)) MB realistic capture with --mask" "$s" "$u" "$m" "$wall"
# A maintenance window's logs: 400 realistic captures of 1 MB, one at a time, two at once, and two
# programs at once over 50 logs each (xargs), in rounds as above.
mkdir "$work/many"
"$bench" capture "$work/many/r000.log" 1
for n in $(seq 1 399); do cp "$work/many/r000.log" "$work/many/r$(printf %03d "$n").log"; done
jobs_names=("400 logs of 1 MB, -j 1" "400 logs of 1 MB, -j 2" "400 logs of 1 MB, xargs -P 2 -n 50")
jobs_commands=("'$program' -j 1 --ext out '$work/many'" "'$program' -j 2 --ext out '$work/many'"
  "ls '$work/many'/*.log | xargs -P 2 -n 50 '$program' -j 1 --ext out")
for _ in 1 2 3 4 5; do
  for i in "${!jobs_commands[@]}"; do
    sync; run_once "${jobs_commands[$i]}" >> "$work/jobs.$i"
  done
done
for i in "${!jobs_commands[@]}"; do
  read -r s u m < <(median < "$work/jobs.$i")
  jobs_s[$i]=$s
  printf '%-36s %7s s  user %5s s  %7s KiB\n' "${jobs_names[$i]}" "$s" "$u" "$m"
done
printf '%-36s %7s x as fast as -j 1 (goal at least 1.7), %s x the time of xargs (goal at most 1.0)\n' "-j 2" \
  "$(ratio "${jobs_s[0]}" "${jobs_s[1]}")" "$(ratio "${jobs_s[1]}" "${jobs_s[2]}")"
# Start-up: what each run of a batch costs before it reads a byte (no display: no window, no fonts).
printf 'one line\n' > "$work/one.log"
startup() {
  local start end
  start=$(date +%s%N)
  for _ in $(seq 20); do "$@" > /dev/null; done
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 20e6 }'
}
printf '%-36s %7s ms a run (tarnwick --version %s ms, tarnwick -c %s ms)\n' "start-up: batch of a one-line log" \
  "$(startup "$program" "$work/one.log")" "$(startup "$program" --version)" "$(startup "$program" -c "$work/one.log")"
# The follow mode: its processor time while its log stays still for 10 s, and the time from a
# line appended to the log (it carries the time of its append) to the line on its output, as the
# mean of 20 appends.
follow_log="$work/follow.log"
printf 'start\n' > "$follow_log"
mkfifo "$work/follow.out"
exec {follow_out}<>"$work/follow.out"
"$program" -f "$follow_log" > "$work/follow.out" &
follow_pid=$!
read -r _ <&"$follow_out"
follow_ticks() { awk '{ print $14 + $15 }' "/proc/$follow_pid/stat"; }
idle_before=$(follow_ticks)
sleep 10
idle_after=$(follow_ticks)
delay_ns=0
for _ in $(seq 20); do
  printf '%s\n' "$(date +%s%N)" >> "$follow_log"
  read -r appended <&"$follow_out"
  delay_ns=$((delay_ns + $(date +%s%N) - ${appended%$'\r'}))
done
kill -TERM "$follow_pid"
wait "$follow_pid" || true
exec {follow_out}<&-
printf '%-36s %7s s of processor time in 10 s of a still log; %s ms from an append to the output (mean of 20)\n' \
  "follow mode (-f)" "$(awk -v t=$((idle_after - idle_before)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }')" \
  "$(awk -v ns="$delay_ns" 'BEGIN { printf "%.2f", ns / 20e6 }')"
/usr/bin/time -f '%e' -o "$work/time" bash -c "col -b < '$capture' > '$work/col.out'"
printf '%-40s %7s s   (once)\n' "col -b" "$(cat "$work/time")"

echo
small="$work/small.log"
head -c $((size / 4)) "$capture" > "$small"
printf 'engine peak memory: %s KiB on %s MB, %s KiB on %s MB\n' \
  "$("$bench" convert "$capture" "$work/e.out" | cut -d' ' -f2)" "$((size / 1048576))" \
  "$("$bench" convert "$small" "$work/s.out" | cut -d' ' -f2)" "$((size / 4194304))"
# One line of 100 MB: typed text with erased characters, no line end anywhere.
long="$work/long.log"
(yes $'show running-config\b\bg ' || true) | tr -d '\n' | head -c 100000000 > "$long" || true
read -r long_s long_m < <("$bench" convert "$long" "$work/long.out")
read -r long_scroll_s long_scroll_m < <("$bench" convert --scroll "$long" "$work/long-scroll.out")
printf 'one line of 100 MB: %s s (scroll %s s), peak memory %s KiB (scroll %s KiB)\n' "$long_s" "$long_scroll_s" "$long_m" "$long_scroll_m"
# The same as a capture, through the whole program in every mode: peak memory, as a multiple of
# the line's size too.
line="$work/line.log"
line_megabytes=$((megabytes < 100 ? megabytes : 100))
"$bench" line "$line" "$line_megabytes"
line_size=$(stat -c %s "$line")
printf 'a capture of one line of %s MB, peak memory:\n' "$line_megabytes"
for settings in "" "--scroll" "--controls" "--controls --scroll"; do
  sync
  read -r _ _ file_m < <(run_once "'$program' $settings --ext out '$line'")
  sync
  read -r _ _ pipe_m < <(run_once "'$program' $settings - < '$line' > '$work/line-pipe.out'")
  printf '  %-30s %8s KiB  %5.2f x the line;  as a pipe %8s KiB  %5.2f x  (goal at most 7 x)\n' "tarnwick ${settings:-(plain)}" \
    "$file_m" "$(ratio $((file_m * 1024)) "$line_size")" "$pipe_m" "$(ratio $((pipe_m * 1024)) "$line_size")"
done
rm -f "$line" "$work/line.out" "$work/line-pipe.out"
read -r plain noisy controlled controlled_scroll < <("$bench" lines)
printf 'a 1 MB line: scroll rebuild of plain text %s s, of characters/BackSpaces/blanks/$ %s s (%s x);\n' \
  "$plain" "$noisy" "$(ratio "$noisy" "$plain")"
printf '  with controls read, of characters/BackSpaces/CRs/sequences %s s (%s x), scroll %s s (%s x)\n' \
  "$controlled" "$(ratio "$controlled" "$plain")" "$controlled_scroll" "$(ratio "$controlled_scroll" "$plain")"

# Lines that try to make the terminal-control reading take unbounded memory or quadratic time,
# with the controls setting and both scroll settings: seconds and peak memory of the engine.
echo
mkdir -p "$work/hostile"
"$bench" hostile "$work/hostile"
for line in "$work"/hostile/*.log; do
  read -r plain_s plain_m < <("$bench" convert --controls "$line" "$work/h.out")
  read -r scroll_s scroll_m < <("$bench" convert --controls --scroll "$line" "$work/h.out")
  printf '%-18s (%4s MB): %6s s, %7s KiB; scroll %6s s, %7s KiB\n' "$(basename "$line" .log)" \
    "$(($(stat -c %s "$line") / 1000000))" "$plain_s" "$plain_m" "$scroll_s" "$scroll_m"
done
