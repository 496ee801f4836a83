#!/usr/bin/env bash
# What a Windows user downloads, under Wine in a prefix of its own: the
# silent install and uninstall of dist/tallyline-VERSION-setup.exe, also
# over a running copy, an interactive install over one, and the portable
# zip. Run after scripts/package; ends with "N passed, N failed". The
# counting copies watch the host end of a veth pair whose other end lies in
# a network namespace of the test's own, and send their traffic there.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine_env.sh"
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix"
device=tli$$h ns=tlinst$$ peer_address=10.213.20.2
ip netns add "$ns"
ip link add "$device" type veth peer name "tli$$p" netns "$ns"
sysctl -qw "net.ipv6.conf.$device.disable_ipv6=1"
ip addr add 10.213.20.1/24 dev "$device"
ip link set "$device" up
ip -n "$ns" addr add "$peer_address/24" dev "tli$$p"
ip -n "$ns" link set "tli$$p" up
start_private_display
trap 'stop_wine; kill $xvfb_pid 2>/dev/null; ip link del "$device"; ip netns del "$ns"; rm -rf "$scratch"' EXIT
prepare_wine_prefix
shots=${TALLYLINE_SCREENSHOTS:-$root/build/screenshots}
mkdir -p "$shots"

passed=0
failed=0

# check NAME COMMAND...: one result.
check() {
  local name=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}

setup="$root/dist/tallyline-$product_version-setup.exe"
title="Tallyline $product_version Setup " # each page adds a blank
built="$root/build/win32/bin"
unix_path() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r')" 2>/dev/null; }
run_entry() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Tallyline; }

# ended PID: true when the program PID, started here, ends within 10 s
# with exit code 0.
ended() {
  for _ in $(seq 20); do
    ps -o stat= -p "$1" | grep -qv Z || { wait "$1"; return; }
    sleep 0.5
  done
  return 1
}

# runs FOLDER: starts FOLDER/tallyline.exe, lets it count for a few seconds
# and closes it as a user would; true when its window came up and it wrote
# its settings and a month file.
runs() {
  local folder=$1 app
  (cd "$folder" && exec wine tallyline.exe) &
  app=$!
  wine "$driver" wait "$main_caption" 30000 >/dev/null || { kill "$app"; return 1; }
  sleep 4
  close_main_window
  ended "$app" && [ -s "$folder/settings.ini" ] && compgen -G "$folder/data/*.dat" >/dev/null
}

# no_program_runs: waits up to 10 s for every tallyline.exe to end, also
# one this shell did not start.
no_program_runs() {
  for _ in $(seq 20); do
    pgrep -f 'tallyline\.exe' >/dev/null || return 0
    sleep 0.5
  done
  return 1
}

# gone PATH: waits up to 30 s for PATH to go (the uninstaller runs from a
# copy of itself and returns at once).
gone() {
  for _ in $(seq 60); do
    [ -e "$1" ] || return 0
    sleep 0.5
  done
  return 1
}

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyline'
# entry NAME: a value of the uninstall entry.
entry() { wine reg query "$uninstall_key" /v "$1" | tr -d '\r' | awk -v name="$1" '$1 == name {print $3}'; }

# uninstalled: waits up to 30 s for the uninstall entry, the last thing the
# uninstaller removes before the folder, to go.
uninstalled() {
  for _ in $(seq 60); do
    wine reg query "$uninstall_key" || return 0
    sleep 0.5
  done
  return 1
}


# start_counting FOLDER: starts FOLDER/tallyline.exe (its process id in
# $app) watching $device, and sends 100 datagrams of 1000 bytes out of
# $device once it counts.
start_counting() {
  printf '[Settings]\r\nDialup=0\r\n\r\n[NIC]\r\nS=%s @ %s\r\n' "$device" \
    "$(tr 'a-f:' 'A-F-' <"/sys/class/net/$device/address")" >"$1/settings.ini"
  (cd "$1" && exec wine tallyline.exe) &
  app=$!
  wine "$driver" wait "$main_caption" 30000 >/dev/null
  sleep 3 # the first two samples only learn the counters
  send_traffic
}

# send_traffic: 100 datagrams of 1000 bytes out of $device.
send_traffic() {
  local payload
  payload=$(printf '%01000d' 0)
  for _ in $(seq 100); do printf '%s' "$payload" >"/dev/udp/$peer_address/9"; done
  sleep 2
}

# uploaded FOLDER: the bytes sent that FOLDER's month files hold.
uploaded() {
  wine "$built/tallyline-cli.exe" report daily --folder "$(winepath -w "$1")" --csv |
    awk -F, 'NR > 1 {sum += $3} END {print sum + 0}'
}

# shot NAME: saves the installer's window to $shots/installer-NAME.png.
shot() {
  wine "$driver" shot "$title" "$(winepath -w "$shots/installer-$1.bmp")" &&
    convert "$shots/installer-$1.bmp" "$shots/installer-$1.png" && rm "$shots/installer-$1.bmp"
}

# install_interactively: clicks through the installer's pages, saving each;
# true when the installer then ends with exit code 0.
install_interactively() {
  local installer window tree
  wine "$setup" &
  installer=$!
  window=$(wine "$driver" wait "$title" 30000 | tr -d '\r')
  shot directory
  wine "$driver" press "$title" "Next >" 5000 "#32770"
  # The description of "Start at logon" shows, as when the mouse rests on it.
  tree=$(wine "$driver" child "$window" SysTreeView32 | tr -d '\r')
  wine "$driver" post "$tree" $((0x419)) 0 1
  shot components
  wine "$driver" press "$title" Install 5000 "#32770"
  for _ in $(seq 60); do
    wine "$driver" text "$window" | grep -q Completing && break
    sleep 0.5
  done
  shot finish
  wine "$driver" press "$title" Finish 5000 "#32770"
  ended "$installer"
}

echo "== installer"
wine "$setup" /S
check "a silent first install does not start the program" \
  test -z "$(wine "$driver" wait "$main_caption" 3000)"
app_dir=$(unix_path '%LOCALAPPDATA%')/Programs/Tallyline
menu=$(unix_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs/Tallyline.lnk
check "installs the program" cmp "$built/tallyline.exe" "$app_dir/tallyline.exe"
check "installs the command-line tool" cmp "$built/tallyline-cli.exe" "$app_dir/tallyline-cli.exe"
check "installs the users' README" cmp "$root/packaging/README.txt" "$app_dir/README.txt"
check "installs the Prometheus rules" cmp \
  "$root/packaging/prometheus/tallyline.rules.yml" "$app_dir/prometheus/tallyline.rules.yml"
check "installs the Grafana dashboard" cmp \
  "$root/packaging/prometheus/tallyline-dashboard.json" "$app_dir/prometheus/tallyline-dashboard.json"
check "installs the uninstaller" test -f "$app_dir/uninstall.exe"
check "makes the Start menu shortcut" test -f "$menu"
check "starts at logon" run_entry
size=0 # in KB, each file rounded up
for file in tallyline.exe tallyline-cli.exe README.txt LICENSE.txt prometheus/tallyline.rules.yml \
  prometheus/tallyline-dashboard.json; do
  size=$((size + ($(stat -c %s "$app_dir/$file") + 1023) / 1024))
done
check "the uninstall entry names the version, the publisher and the size" test \
  "$(entry DisplayVersion) $(entry Publisher) $(($(entry EstimatedSize)))" = "$product_version Tallyline $size"
check "the installed program starts and counts" runs "$app_dir"

echo "== silent install over a running copy"
printf x >>"$app_dir/tallyline.exe" # an older program, to be replaced
start_counting "$app_dir"
before=$(uploaded "$app_dir")
check "succeeds" wine "$setup" /S
check "ends the running copy" ended "$app"
check "which booked what it counted" test "$(uploaded "$app_dir")" -ge $((before + 100000))
check "replaces the program" cmp "$built/tallyline.exe" "$app_dir/tallyline.exe"
check "starts the new program again" wine "$driver" wait "$main_caption" 30000
sleep 3 # the first two samples only learn the counters
send_traffic
close_main_window
check "which ends when asked" no_program_runs
check "whose counts go on from the old copy's" test "$(uploaded "$app_dir")" -ge $((before + 200000))

echo "== interactive install over a running copy"
start_counting "$app_dir"
check "completes" install_interactively
check "ends the running copy" ended "$app"
check "starts the new program again" wine "$driver" wait "$main_caption" 30000

echo "== silent uninstall of a running copy"
touch "$app_dir/Connection.log" # as dial-up connections leave it
wine "$app_dir/uninstall.exe" /S
check "uninstall removes its entry" uninstalled
check "uninstall ends the running copy" test -z "$(wine "$driver" find "$main_caption")"
check "uninstall removes the Run entry" test -z "$(run_entry 2>/dev/null | grep Tallyline)"
check "uninstall removes the shortcut" test ! -e "$menu"
check "uninstall keeps only the settings, data and log" \
  test "$(ls "$app_dir" | tr '\n' ' ')" = "Connection.log data settings.ini "
check "uninstall keeps the month files" compgen -G "$app_dir/data/*.dat"

echo "== silent uninstall of a running copy with /REMOVEDATA"
wine "$setup" /S
start_counting "$app_dir"
wine "$app_dir/uninstall.exe" /S /REMOVEDATA
check "uninstall removes the whole folder" gone "$app_dir"
check "uninstall ends the running copy" ended "$app"

echo "== a running copy that does not answer"
wine "$setup" /S
start_counting "$app_dir"
kill -STOP "$app"
wine "$setup" /S
check "a silent install that cannot replace the program fails" test $? = 2
# Run in place, for its exit code.
wine "$app_dir/uninstall.exe" /S "_?=$(winepath -w "$app_dir")"
check "a silent uninstall that cannot remove it fails" test $? = 2
kill -CONT "$app"
close_main_window
ended "$app"

echo "== portable zip"
zip="$root/dist/tallyline-$product_version.zip"
check "the zip holds exactly its files" test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = \
  "LICENSE.txt README.txt prometheus/tallyline-dashboard.json prometheus/tallyline.rules.yml tallyline-cli.exe tallyline.exe "
unzip -q "$zip" -d "$scratch/portable"
check "the README has CR LF line ends" test -z "$(grep -v $'\r$' "$scratch/portable/README.txt")"
check "the zip's program starts and counts" runs "$scratch/portable"

echo "installer: $passed passed, $failed failed"
