#!/usr/bin/env bash
# How long tallyline.exe takes from its start to its first painted window
# under Wine (watching an adapter, default settings, its window at
# 584 x 282), over RUNS runs (default 10), whole-process timing; the same
# for bench/empty_window_win32.cpp, what any windowed program takes.
#   bench/startup.sh [RUNS]
# (scripts/build win32 first, or TALLYLINE_EXE names another build to measure)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
source "$root/scripts/lib/wine_env.sh"
start_scratch_run

adapter=$(first_adapter)
cp "${TALLYLINE_EXE:-$root/build/win32/bin/tallyline.exe}" "$folder/tallyline.exe"
cp "$root/build/win32/bin/empty_window.exe" "$folder/"
# The desktop's own processes start once, before the first timed run.
wine "$driver" find desktop >/dev/null || true

# first_paint PROGRAM CAPTION: sets ms to the milliseconds from the start
# until the window is shown and its thread answers a message (each program
# paints its window at once, UpdateWindow, before it reads any message), and
# pid to the program's process.
first_paint() {
  local start window end
  start=$(date +%s%N)
  (cd "$folder" && exec wine "$1") &
  pid=$!
  window=$(wine "$driver" wait "$2" 30000 | tr -d '\r')
  wine "$driver" text "$window" >/dev/null
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
}

# report LABEL TIMES...: each run, and the median.
report() {
  local label=$1
  shift
  echo "$label: $* ms; median $(printf '%s\n' "$@" | sort -n | awk '{t[NR] = $1}
    END {print NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2}') ms"
}

program=() empty=()
for _ in $(seq "$runs"); do
  # A fresh folder's settings each run, so every start is the same.
  printf '[NIC]\r\nS=%s\r\n[Window]\r\n1=100\r\n2=100\r\n3=584\r\n4=282\r\n' "$adapter" \
    >"$folder/settings.ini"
  rm -rf "$folder/data"
  first_paint tallyline.exe "$main_caption"
  program+=("$ms")
  close_main_window
  wait "$pid"
  first_paint empty_window.exe "Empty window"
  empty+=("$ms")
  wine "$driver" close "Empty window" >/dev/null
  wait "$pid"
done
report "tallyline.exe to its first painted window" "${program[@]}"
report "empty window to its first painted window" "${empty[@]}"
