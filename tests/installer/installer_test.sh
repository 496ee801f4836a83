#!/usr/bin/env bash
# What a Windows user downloads, under Wine in a prefix of its own: the
# silent install and uninstall of dist/tallyline-VERSION-setup.exe, and the
# portable zip. Run after scripts/package; ends with "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine_env.sh"
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix"
start_private_display
trap 'stop_wine; kill $xvfb_pid 2>/dev/null; rm -rf "$scratch"' EXIT
prepare_wine_prefix

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

unix_path() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r')" 2>/dev/null; }
run_entry() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Tallyline; }

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
  wait "$app"
  [ -s "$folder/settings.ini" ] && compgen -G "$folder/data/*.dat" >/dev/null
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

echo "== installer"
wine "$root/dist/tallyline-$product_version-setup.exe" /S
app_dir=$(unix_path '%LOCALAPPDATA%')/Programs/Tallyline
menu=$(unix_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs/Tallyline.lnk
check "installs the program" test -f "$app_dir/tallyline.exe"
check "installs the uninstaller" test -f "$app_dir/uninstall.exe"
check "makes the Start menu shortcut" test -f "$menu"
check "starts at logon" run_entry
check "the installed program starts and counts" runs "$app_dir"

wine "$app_dir/uninstall.exe" /S
check "uninstall removes the program" gone "$app_dir/tallyline.exe"
check "uninstall removes the uninstaller" gone "$app_dir/uninstall.exe"
check "uninstall removes the shortcut" test ! -e "$menu"
check "uninstall removes the Run entry" test -z "$(run_entry 2>/dev/null | grep Tallyline)"
check "uninstall keeps the data" compgen -G "$app_dir/data/*.dat"
check "uninstall keeps the settings" test -f "$app_dir/settings.ini"

echo "== portable zip"
zip="$root/dist/tallyline-$product_version.zip"
check "the zip holds exactly its three files" \
  test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "LICENSE.txt README.md tallyline.exe "
unzip -q "$zip" -d "$scratch/portable"
check "the zip's program starts and counts" runs "$scratch/portable"

echo "installer: $passed passed, $failed failed"
