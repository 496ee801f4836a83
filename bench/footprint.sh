#!/usr/bin/env bash
# What tallyline.exe costs in memory over the smallest windowed program:
# the program (watching an adapter, default settings, its window at
# 584 x 282) and bench/empty_window_win32.cpp run side by side under the same
# Wine, the empty window twice: plain, and with the least a tray meter's
# window must have, the system's status bar and an icon in the tray. After
# 25 seconds each one's proportional (PSS) and private memory, the
# differences, and the ten mappings whose PSS differs most from each empty
# window's.
#   bench/footprint.sh
# (scripts/build win32 first, or TALLYLINE_EXE names another build to measure)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/wine_env.sh"
start_scratch_run

cp "${TALLYLINE_EXE:-$root/build/win32/bin/tallyline.exe}" "$folder/tallyline.exe"
cp "$root/build/win32/bin/empty_window.exe" "$folder/"
printf '[NIC]\r\nS=%s\r\n[Window]\r\n1=100\r\n2=100\r\n3=584\r\n4=282\r\n' "$(first_adapter)" \
  >"$folder/settings.ini"

# start CAPTION PROGRAM [ARGUMENT]: sets pid to the Windows process (exec
# keeps the shell job's id) once its window is there.
start() {
  local caption=$1
  shift
  (cd "$folder" && exec wine "$@") &
  pid=$!
  wine "$driver" wait "$caption" 30000 >/dev/null
}
start "$main_caption" tallyline.exe
app=$pid
start "Empty window" empty_window.exe
empty=$pid
start "Empty window with status bar and tray icon" empty_window.exe tray
tray=$pid
sleep 25

# KiB of Pss and of Private_Clean + Private_Dirty.
totals() { awk '/^Pss:/ {p = $2} /^Private_(Clean|Dirty):/ {q += $2} END {print p, q}' "/proc/$1/smaps_rollup"; }
# PSS in KiB summed by mapping: the file's name, or [anon], [heap], [stack].
by_mapping() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / {name = NF >= 6 ? $6 : "[anon]"; sub(/.*\//, "", name)}
       /^Pss:/ {pss[name] += $2}
       END {for (n in pss) print n, pss[n]}' "/proc/$1/smaps"
}
read -r app_pss app_private < <(totals "$app")
read -r empty_pss empty_private < <(totals "$empty")
read -r tray_pss tray_private < <(totals "$tray")
by_mapping "$app" >"$folder/app.map"
by_mapping "$empty" >"$folder/empty.map"
by_mapping "$tray" >"$folder/tray.map"

# largest_differences MAP: the ten mappings whose PSS differs most.
largest_differences() {
  awk 'FNR == NR {a[$1] = $2; next} {e[$1] = $2}
       END {
         for (n in e) if (!(n in a)) a[n] = 0
         for (n in a) printf "%d %s %d %d\n", a[n] - e[n], n, a[n], e[n] + 0
       }' "$folder/app.map" "$1" |
    sort -k1,1nr | head -10 |
    awk '{printf "  %s: %d - %d = %+d\n", $2, $3, $4, $1}'
}

echo "tallyline.exe: PSS $app_pss KiB, private $app_private KiB"
echo "empty window: PSS $empty_pss KiB, private $empty_private KiB"
echo "difference: PSS $((app_pss - empty_pss)) KiB, private $((app_private - empty_private)) KiB"
echo "empty window with status bar and tray icon: PSS $tray_pss KiB, private $tray_private KiB"
echo "difference from it: PSS $((app_pss - tray_pss)) KiB, private $((app_private - tray_private)) KiB"
echo "largest PSS differences by mapping (program - empty window, KiB):"
largest_differences "$folder/empty.map"
echo "largest PSS differences by mapping (program - window with status bar and tray icon, KiB):"
largest_differences "$folder/tray.map"

close_main_window
wine "$driver" close "Empty window" >/dev/null
wine "$driver" close "Empty window with status bar and tray icon" >/dev/null
wait "$app" "$empty" "$tray"
