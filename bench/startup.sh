#!/usr/bin/env bash
# Start-up of the whole configurator process (every window created, main window shown and
# painted once) against a bare Qt window program with the same number of widgets, side by
# side in one run, offscreen. Usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build="${1:-build/bench}"
runs="${2:-20}"
export QT_QPA_PLATFORM=offscreen
app_dir="$(mktemp -d)"
trap 'rm -rf "$app_dir"' EXIT

brenvale="$build/src/app/brenvale"
bare="$build/bench/bare_window"
widgets="$("$brenvale" --app-dir "$app_dir" --count-widgets 2>/dev/null || echo 40)"

now_ms() { date +%s%N | awk '{printf "%.3f", $1 / 1000000}'; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

: > "$app_dir/brenvale.times"
: > "$app_dir/bare.times"
for _ in $(seq "$runs"); do
  t0=$(now_ms); "$brenvale" --app-dir "$app_dir" --quit-when-shown >/dev/null 2>&1; t1=$(now_ms)
  echo "$t1 - $t0" | bc >> "$app_dir/brenvale.times"
  t0=$(now_ms); "$bare" "$widgets" >/dev/null 2>&1; t1=$(now_ms)
  echo "$t1 - $t0" | bc >> "$app_dir/bare.times"
done
b=$(median < "$app_dir/brenvale.times")
w=$(median < "$app_dir/bare.times")
echo "widgets in the main window: $widgets"
echo "brenvale --quit-when-shown: median ${b} ms over $runs runs"
echo "bare Qt window:             median ${w} ms over $runs runs"
echo "ratio: $(echo "scale=2; $b / $w" | bc) (target: at most 1.5)"
