#!/usr/bin/env bash
# How long a report window takes to open under Wine over YEARS years of
# daily month files (default 20) and, for the statistics, a connection log
# of LINES lines (default 100,000): from the menu command to the window on
# screen, over RUNS runs (default 5), whole-process timing.
#   bench/open_window.sh basic|advanced [YEARS] [RUNS] [LINES]
#   (scripts/build win32 first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
window=${1:-basic}
years=${2:-20}
runs=${3:-5}
lines=${4:-100000}
source "$root/scripts/lib/wine_env.sh"
start_scratch_run
cp "$root/build/win32/bin/tallyline.exe" "$folder/"
printf '[Settings]\r\nDialup=0\r\n' >"$folder/settings.ini"
mkdir "$folder/data"

# Every day from January 2000, two dial-up entries booked each day.
awk -v years="$years" -v dir="$folder/data" 'BEGIN {
  split("31 28 31 30 31 30 31 31 30 31 30 31", days, " ")
  serial = 36526  # 1 January 2000
  for (y = 2000; y < 2000 + years; ++y)
    for (m = 1; m <= 12; ++m) {
      n = days[m] + (m == 2 && y % 4 == 0 && (y % 100 != 0 || y % 400 == 0))
      file = dir "/" serial ".dat"
      for (d = 0; d < n; ++d) {
        printf "[%d]\r\n", serial > file
        printf "Home ISP-Calls=2\r\nHome ISP=%d\r\nHome ISP-Recv=%d\r\nHome ISP-Xmit=%d\r\n",
          serial % 7000, serial * 1013, serial * 97 > file
        printf "Work VPN-Calls=2\r\nWork VPN=%d\r\nWork VPN-Recv=%d\r\nWork VPN-Xmit=%d\r\n",
          serial % 7000, serial * 1013, serial * 97 > file
        printf "Calls=4\r\nHours=%d\r\nRecv=%d\r\nXmit=%d\r\n\r\n",
          serial % 14000, serial * 2026, serial * 194 > file
        ++serial
      }
      close(file)
    }
}'

# A connection every two hours, alternating between the two entries.
awk -v lines="$lines" 'BEGIN {
  for (i = 0; i < lines; ++i) {
    start = 36526.3 + i / 12
    printf "%.15g,%.15g,1,%s,%d,%d\r\n", start, start + (i % 90 + 1) / 1440,
      i % 2 ? "Home ISP" : "\"Work VPN\"", i * 1013, i * 97
  }
}' >"$folder/Connection.log"

WM_COMMAND=273
case "$window" in
  basic) command=105 caption="Basic Reports" ;;     # cmBasicReports
  advanced) command=106 caption="Advanced Reports" ;;  # cmAdvancedStats
  *) echo "usage: bench/open_window.sh basic|advanced [YEARS] [RUNS] [LINES]" >&2; exit 2 ;;
esac
(cd "$folder" && exec wine tallyline.exe) &
app=$!
main=$(wine "$driver" wait "$main_caption" 30000 | tr -d '\r')
for run in $(seq "$runs"); do
  start=$(date +%s%N)
  wine "$driver" post "$main" $WM_COMMAND $command >/dev/null
  report=$(wine "$driver" wait "$caption" 60000 | tr -d '\r')
  end=$(date +%s%N)
  echo "run $run: $(((end - start) / 1000000)) ms to \"$caption\" over $(ls "$folder/data" | wc -l) month files and $lines log lines"
  wine "$driver" post "$report" 16 >/dev/null  # WM_CLOSE
  sleep 1
done
close_main_window
wait "$app"
