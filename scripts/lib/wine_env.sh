# Sourced by the scripts that run Windows programs: a project-local Wine
# prefix with a virtual desktop (windows get frames and the tray has a place)
# and, when asked, a private X display.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

export WINEPREFIX="$root/build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No offers to download .NET and the HTML engine: there is no network.
export WINEDLLOVERRIDES="mscoree,mshtml="

# A measurement may ask for a larger desktop (and screen) before sourcing.
desktop_size=${TALLYLINE_DESKTOP_SIZE:-1280x800}
screen_size=${TALLYLINE_SCREEN_SIZE:-1280x1024}

source "$root/scripts/lib/product_version.sh"
# The main window's caption: the title and the one version in CMakeLists.txt.
main_caption="Tallyline v$product_version"
# Drives windows from scripts (scripts/build win32 first).
driver="$root/build/win32/bin/tldriver.exe"

# Starts Xvfb on a free display number and points DISPLAY at it; the server
# ends with the calling script.
start_private_display() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${screen_size}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  trap 'stop_wine; kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null' EXIT
}

# Creates the prefix on first use and sets the virtual desktop.
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # Debian's 32-bit Wine does not find its own fonts (Marlett draws the
  # caption buttons, Tahoma the dialogs); the prefix's Fonts folder it reads.
  cp -u /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Tallyline /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Tallyline /d "$desktop_size" /f >/dev/null 2>&1
  # The RAS stand-in: a rasapi32.dll beside tallyline.exe (and beside the
  # Win32 tests, which dial through it) is taken over Wine's own stub (which
  # has no connections); without one, Wine's is used.
  local program
  for program in tallyline.exe tallyline_win32_tests.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\DllOverrides" /v rasapi32 \
      /d native,builtin /f >/dev/null 2>&1
  done
}

# A private display, the prefix, and a scratch folder ($folder) for a run of
# the program; all go when the calling script ends.
start_scratch_run() {
  start_private_display
  prepare_wine_prefix
  folder=$(mktemp -d)
  trap 'rm -rf "$folder"; stop_wine; kill $xvfb_pid 2>/dev/null || true' EXIT
}

stop_wine() {
  wineserver -k 2>/dev/null || true
}

# The first interface with a hardware address, as the program names it in
# its settings: "eth0 @ 02-42-AC-11-00-02".
first_adapter() {
  local dev mac
  for dev in /sys/class/net/*; do
    mac=$(cat "$dev/address")
    if [ "$mac" != "00:00:00:00:00:00" ]; then
      echo "$(basename "$dev") @ ${mac^^}" | tr ':' '-'
      return
    fi
  done
}

# Closes the main window as a user would, answering its question.
close_main_window() {
  wine "$driver" close "$main_caption" >/dev/null
  wine "$driver" press Tallyline OK 10000 >/dev/null
}
