#!/usr/bin/env bash
# How much the running program costs: CPU time per second of wall time and
# the resident memory of tallyline.exe under Wine, sampling once a second
# with the graph shown, at AntiAlias 0 and 3.
#   bench/cpu_usage.sh [SECONDS]    (default 60; scripts/build win32 first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
source "$root/scripts/lib/wine_env.sh"
start_private_display
prepare_wine_prefix
driver="$root/build/win32/bin/tldriver.exe"
ticks=$(getconf CLK_TCK)

# The first interface with a hardware address, as the program names it.
adapter=$(for dev in /sys/class/net/*; do
  mac=$(cat "$dev/address")
  [ "$mac" != "00:00:00:00:00:00" ] && { echo "$(basename "$dev") @ ${mac^^}" | tr ':' '-'; break; }
done)

cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }

for antialias in 0 3; do
  folder=$(mktemp -d)
  cp "$root/build/win32/bin/tallyline.exe" "$folder/"
  printf '[Settings]\r\nAntiAlias=%s\r\n\r\n[NIC]\r\nS=%s\r\n\r\n[Window]\r\n1=100\r\n2=100\r\n3=584\r\n4=282\r\n' \
    "$antialias" "$adapter" >"$folder/settings.ini"
  (cd "$folder" && exec wine tallyline.exe) &
  app=$!
  wine "$driver" wait "$main_caption" 30000 >/dev/null
  pid=$(pgrep -n -f 'tallyline.exe')
  sleep 5
  before=$(cpu_of "$pid")
  sleep "$seconds"
  after=$(cpu_of "$pid")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  awk -v a="$antialias" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v r="$rss" \
    'BEGIN {printf "AntiAlias %s: %.3f%% of one core (%.2f s CPU in %d s), resident %d KiB\n", a, 100 * t / hz / s, t / hz, s, r}'
  wine "$driver" close "$main_caption" >/dev/null
  wine "$driver" press Tallyline OK 10000 >/dev/null
  wait "$app"
  rm -rf "$folder"
done
