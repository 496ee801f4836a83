#!/usr/bin/env bash
# How much the running program costs: CPU time per second of wall time and
# the resident memory of tallyline.exe under Wine, sampling once a second
# with the graph shown.
#   bench/cpu_usage.sh [SECONDS]          an adapter, at AntiAlias 0 and 3
#   bench/cpu_usage.sh SECONDS dialup     a dial-up connection of the RAS
#                                         stand-in, up and idle, with the
#                                         redial on a stall off and on
#   bench/cpu_usage.sh SECONDS graph      live traffic through a veth pair of
#                                         its own: the window at 584 x 282 and
#                                         AntiAlias 0, then maximised on a
#                                         1920 x 1080 desktop at AntiAlias 3
# (default 60 seconds; scripts/build win32 first, or TALLYLINE_EXE names
# another build to measure; graph needs root)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
mode=${2:-adapter}
if [ "$mode" = graph ]; then
  export TALLYLINE_DESKTOP_SIZE=1920x1080 TALLYLINE_SCREEN_SIZE=1920x1080
fi
source "$root/scripts/lib/wine_env.sh"
start_private_display
prepare_wine_prefix
ticks=$(getconf CLK_TCK)
placement='[Window]\r\n1=100\r\n2=100\r\n3=584\r\n4=282\r\n'

cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measure LABEL SETTINGS: runs the program in a scratch folder with these
# lines in its [Settings] section (and the RAS stand-in in dial-up mode).
measure() {
  local label=$1 settings=$2 folder app pid before after rss
  folder=$(mktemp -d)
  cp "${TALLYLINE_EXE:-$root/build/win32/bin/tallyline.exe}" "$folder/tallyline.exe"
  printf "[Settings]\r\n${settings}\r\n${extra}\r\n${placement}" >"$folder/settings.ini"
  if [ "$mode" = dialup ]; then
    cp "$root/build/win32/bin/rasapi32.dll" "$folder/"
    printf 'conn=7|My ISP|8192|1000|500|28800|0\n' >"$folder/fakeras.txt"
  fi
  (cd "$folder" && TALLYLINE_FAKERAS="$folder/fakeras.txt" exec wine tallyline.exe) &
  app=$!
  window=$(wine "$driver" wait "$main_caption" 30000 | tr -d '\r')
  # WM_SYSCOMMAND SC_MAXIMIZE
  [ "${maximise:-0}" = 1 ] && wine "$driver" post "$window" 274 61488 >/dev/null
  pid=$app  # exec keeps the shell job's id: the Windows process
  sleep "$warmup"
  before=$(cpu_of "$pid")
  sleep "$seconds"
  after=$(cpu_of "$pid")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  awk -v l="$label" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v r="$rss" \
    'BEGIN {printf "%s: %.3f%% of one core (%.2f s CPU in %d s), resident %d KiB\n", l, 100 * t / hz / s, t / hz, s, r}'
  close_main_window
  wait "$app"
  rm -rf "$folder"
}

# A veth pair into a namespace of its own, with a TCP stream from the
# namespace to the host end whose rate wanders between about 50 and
# 850 KB/s and bursts to 2 MB/s for three seconds in thirty, so the graph
# moves and crosses its time lines. The measurement starts after a minute,
# when the scale has seen a burst and settles, as it does for a window
# that stays open.
start_traffic() {
  ns=tlbench$$
  host=tlb$$h
  ip netns add "$ns"
  ip link add "$host" type veth peer name tlb$$p
  ip link set tlb$$p netns "$ns"
  sysctl -qw "net.ipv6.conf.$host.disable_ipv6=1"
  ip addr add 10.213.7.1/24 dev "$host"
  ip link set "$host" up
  ip netns exec "$ns" ip addr add 10.213.7.2/24 dev tlb$$p
  ip netns exec "$ns" ip link set tlb$$p up
  trap 'kill $(jobs -p) 2>/dev/null; ip netns del "$ns" 2>/dev/null; stop_wine; kill $xvfb_pid 2>/dev/null || true' EXIT
  ip netns exec "$ns" python3 -c '
import math, socket, time
server = socket.create_server(("10.213.7.2", 5001))
peer, _ = server.accept()
chunk, t = bytes(4096), 0
while True:
    rate = 2e6 if t % 300 > 270 else 450e3 + 400e3 * math.sin(t / 40)
    peer.sendall(chunk * max(1, int(rate / 10 / 4096)))
    t += 1
    time.sleep(0.1)
' &
  python3 -c '
import socket, time
for _ in range(100):  # the server may take a while to listen
    try:
        s = socket.create_connection(("10.213.7.2", 5001))
        break
    except ConnectionRefusedError:
        time.sleep(0.1)
while s.recv(1 << 16):
    pass
' &
  mac=$(cat "/sys/class/net/$host/address")
  extra="[NIC]\r\nS=$(echo "$host @ ${mac^^}" | tr ':' '-')\r\n"
}

warmup=5
if [ "$mode" = graph ]; then
  warmup=60
  start_traffic
  measure "584 x 282, AntiAlias 0, traffic" 'AntiAlias=0'
  maximise=1 measure "Maximised 1920 x 1080, AntiAlias 3, traffic" 'AntiAlias=3'
elif [ "$mode" = dialup ]; then
  extra=''
  measure "Dial-up, ReconStall 0" 'Dialup=1\r\nReconStall=0'
  measure "Dial-up, ReconStall 1" 'Dialup=1\r\nReconStall=1'
else
  extra="[NIC]\r\nS=$(first_adapter)\r\n"
  measure "AntiAlias 0" 'AntiAlias=0'
  measure "AntiAlias 3" 'AntiAlias=3'
fi
