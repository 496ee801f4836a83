#!/usr/bin/env bash
# How much the running program costs: CPU time per second of wall time and
# the resident memory of tallyline.exe under Wine, sampling once a second
# with the graph shown.
#   bench/cpu_usage.sh [SECONDS]          an adapter, at AntiAlias 0 and 3
#   bench/cpu_usage.sh SECONDS dialup     a dial-up connection of the RAS
#                                         stand-in, up and idle, with the
#                                         redial on a stall off and on
#   bench/cpu_usage.sh SECONDS graph      live traffic through three veth
#                                         pairs of its own, counting one
#                                         adapter and then all three: the
#                                         window at 584 x 282 and AntiAlias 0,
#                                         then maximised on a 1920 x 1080
#                                         desktop at AntiAlias 3
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
in_ns=()  # what starts the program inside the bench's namespace, if any
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
  (cd "$folder" && TALLYLINE_FAKERAS="$folder/fakeras.txt" exec "${in_ns[@]}" wine tallyline.exe) &
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

# Three veth pairs whose host ends live in a namespace of the bench's own,
# so that all adapters the program sees there are these three. Each carries
# a TCP stream from its peer's namespace to the host end whose rate wanders
# between about 50 and 850 KB/s and bursts to 2 MB/s for three seconds in
# thirty, so the graph moves and crosses its time lines. The measurement
# starts after a minute, when the scale has seen a burst and settles, as it
# does for a window that stays open.
start_traffic() {
  local i host peer address mac
  ns=tlbench$$
  trap stop_traffic EXIT
  ip netns add "$ns"
  for i in 1 2 3; do
    host=tlb$$h$i peer=tlb$$p$i address=10.213.$((6 + i))
    ip netns add "$ns-$i"
    ip -n "$ns" link add "$host" type veth peer name "$peer" netns "$ns-$i"
    ip netns exec "$ns" sysctl -qw "net.ipv6.conf.$host.disable_ipv6=1"
    ip -n "$ns" addr add "$address.1/24" dev "$host"
    ip -n "$ns" link set "$host" up
    ip -n "$ns-$i" addr add "$address.2/24" dev "$peer"
    ip -n "$ns-$i" link set "$peer" up
    ip netns exec "$ns-$i" python3 -c '
import math, socket, sys, time
server = socket.create_server((sys.argv[1], 5001))
peer, _ = server.accept()
chunk, t = bytes(4096), 0
while True:
    rate = 2e6 if t % 300 > 270 else 450e3 + 400e3 * math.sin(t / 40)
    peer.sendall(chunk * max(1, int(rate / 10 / 4096)))
    t += 1
    time.sleep(0.1)
' "$address.2" &
    ip netns exec "$ns" python3 -c '
import socket, sys, time
for _ in range(100):  # the server may take a while to listen
    try:
        s = socket.create_connection((sys.argv[1], 5001))
        break
    except ConnectionRefusedError:
        time.sleep(0.1)
while s.recv(1 << 16):
    pass
' "$address.2" &
  done
  mac=$(ip netns exec "$ns" cat "/sys/class/net/tlb$$h1/address")
  one_adapter="[NIC]\r\nS=$(echo "tlb$$h1 @ ${mac^^}" | tr ':' '-')\r\n"
  all_adapters='[NIC]\r\nAll=1\r\n'
  # Wine's services list the interfaces of the namespace they run in, and
  # the first program of a new server starts them: a server of its own
  # starts there, kept between the runs, with a first program there.
  stop_wine
  wineserver -w
  ip netns exec "$ns" wineserver -p
  ip netns exec "$ns" wine wineboot
  in_ns=(ip netns exec "$ns")
}

# Wine's server ends first: a namespace goes only with its last process.
stop_traffic() {
  local n
  kill $(jobs -p) 2>/dev/null || true
  stop_wine
  wineserver -w
  for n in "$ns" "$ns"-{1..3}; do ip netns del "$n" 2>/dev/null || true; done
  kill "$xvfb_pid" 2>/dev/null || true
}

warmup=5
if [ "$mode" = graph ]; then
  warmup=60
  start_traffic
  extra=$one_adapter measure "584 x 282, AntiAlias 0, one adapter, traffic" 'AntiAlias=0'
  extra=$all_adapters measure "584 x 282, AntiAlias 0, all of three adapters, traffic" 'AntiAlias=0'
  extra=$one_adapter maximise=1 measure "Maximised 1920 x 1080, AntiAlias 3, one adapter, traffic" \
    'AntiAlias=3'
  extra=$all_adapters maximise=1 \
    measure "Maximised 1920 x 1080, AntiAlias 3, all of three adapters, traffic" 'AntiAlias=3'
elif [ "$mode" = dialup ]; then
  extra=''
  measure "Dial-up, ReconStall 0" 'Dialup=1\r\nReconStall=0'
  measure "Dial-up, ReconStall 1" 'Dialup=1\r\nReconStall=1'
else
  extra="[NIC]\r\nS=$(first_adapter)\r\n"
  measure "AntiAlias 0" 'AntiAlias=0'
  measure "AntiAlias 3" 'AntiAlias=3'
fi
