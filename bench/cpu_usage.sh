#!/usr/bin/env bash
# How much the running program costs: CPU time per second of wall time and
# the resident memory of tallyline.exe under Wine, sampling once a second
# with the graph shown.
#   bench/cpu_usage.sh [SECONDS]          an adapter, at AntiAlias 0 and 3
#   bench/cpu_usage.sh SECONDS dialup     a dial-up connection of the RAS
#                                         stand-in, up and idle, with the
#                                         redial on a stall off and on
# (default 60 seconds; scripts/build win32 first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
mode=${2:-adapter}
source "$root/scripts/lib/wine_env.sh"
start_private_display
prepare_wine_prefix
driver="$root/build/win32/bin/tldriver.exe"
ticks=$(getconf CLK_TCK)
placement='[Window]\r\n1=100\r\n2=100\r\n3=584\r\n4=282\r\n'

cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measure LABEL SETTINGS: runs the program in a scratch folder with these
# lines in its [Settings] section (and the RAS stand-in in dial-up mode).
measure() {
  local label=$1 settings=$2 folder app pid before after rss
  folder=$(mktemp -d)
  cp "$root/build/win32/bin/tallyline.exe" "$folder/"
  printf "[Settings]\r\n${settings}\r\n${extra}\r\n${placement}" >"$folder/settings.ini"
  if [ "$mode" = dialup ]; then
    cp "$root/build/win32/bin/rasapi32.dll" "$folder/"
    printf 'conn=7|My ISP|8192|1000|500|28800|0\n' >"$folder/fakeras.txt"
  fi
  (cd "$folder" && TALLYLINE_FAKERAS="$folder/fakeras.txt" exec wine tallyline.exe) &
  app=$!
  wine "$driver" wait "$main_caption" 30000 >/dev/null
  pid=$(pgrep -n -f 'tallyline.exe')
  sleep 5
  before=$(cpu_of "$pid")
  sleep "$seconds"
  after=$(cpu_of "$pid")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  awk -v l="$label" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v r="$rss" \
    'BEGIN {printf "%s: %.3f%% of one core (%.2f s CPU in %d s), resident %d KiB\n", l, 100 * t / hz / s, t / hz, s, r}'
  wine "$driver" close "$main_caption" >/dev/null
  wine "$driver" press Tallyline OK 10000 >/dev/null
  wait "$app"
  rm -rf "$folder"
}

if [ "$mode" = dialup ]; then
  extra=''
  measure "Dial-up, ReconStall 0" 'Dialup=1\r\nReconStall=0'
  measure "Dial-up, ReconStall 1" 'Dialup=1\r\nReconStall=1'
else
  # The first interface with a hardware address, as the program names it.
  adapter=$(for dev in /sys/class/net/*; do
    mac=$(cat "$dev/address")
    [ "$mac" != "00:00:00:00:00:00" ] && { echo "$(basename "$dev") @ ${mac^^}" | tr ':' '-'; break; }
  done)
  extra="[NIC]\r\nS=${adapter}\r\n"
  measure "AntiAlias 0" 'AntiAlias=0'
  measure "AntiAlias 3" 'AntiAlias=3'
fi
