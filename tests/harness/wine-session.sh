#!/usr/bin/env bash
# A Wine session for one test run (or for the demo): a fresh prefix, an Xvfb display,
# one persistent wineserver, and drive A: as a removable drive onto a folder; B: is a
# removable drive without a medium and F: a fixed disk onto a folder of its own. Where
# the session may mount file systems (as root), T: is a fixed disk of 256 KB that a
# test can fill; QUILLMARK_SMALL_DRIVE names it then. The window manager does not
# decorate the program's windows, so their own captions show; on the session's own
# display, which has no window manager, Wine does not wait for one.
#   wine-session.sh start DIR [--keep]   make DIR/prefix (anew unless --keep) and DIR/env
#   wine-session.sh start DIR --from=SEED  the same from a copy of SEED/prefix, a prefix
#                                          made by --seed or by a session since stopped
#   wine-session.sh start DIR --seed     only DIR/prefix, booted and set up, to be
#                                          copied: its services are not started again
#   wine-session.sh stop DIR             end the wineserver and the display
# DIR/env is sourced by wine-run.sh so every test process joins the same session.
set -euo pipefail

cmd=${1:?start or stop}
dir=$(mkdir -p "${2:?session folder}" && cd "$2" && pwd)
keep=${3:-}
from=
case $keep in --from=*) from=${keep#--from=} ;; esac
prefix=$dir/prefix
env_file=$dir/env

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEARCH=win64

unmount_small() {
  if mountpoint -q "$dir/small" 2>/dev/null; then umount "$dir/small" 2>/dev/null || umount -l "$dir/small" || true; fi
}

stop() {
  unmount_small
  [ -f "$env_file" ] || return 0
  # shellcheck disable=SC1090
  . "$env_file"
  WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  rm -f "$env_file"
}

# Adds values to a key of a registry file that no server holds, each one only where
# the file lacks it; the server reads them with the file.
#   store_values FILE KEY VALUE...   KEY and VALUE as the file spells them
store_values() {
  local file=$1 key=$2 value missing=()
  shift 2
  for value in "$@"; do grep -qxF -- "$value" "$file" || missing+=("$value"); done
  [ ${#missing[@]} -gt 0 ] || return 0
  printf '\n[%s] %s\n' "$key" "$(date +%s)" >>"$file"
  printf '%s\n' "${missing[@]}" >>"$file"
}

start_display() {
  if [ -n "${QUILLMARK_DISPLAY:-}" ]; then
    echo "DISPLAY=$QUILLMARK_DISPLAY" >>"$env_file"
    return
  fi
  local fifo=$dir/displayfd
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  local pid=$!
  local num
  read -r -t 20 num <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
  rm -f "$fifo"
  { echo "DISPLAY=:$num"; echo "XVFB_PID=$pid"; } >>"$env_file"
}

case "$cmd" in
start)
  stop
  if [ "$keep" != "--keep" ]; then rm -rf "$prefix"; fi
  # A copy of a booted prefix is a fresh one at a seventh of the cost of a first boot.
  if [ -n "$from" ]; then cp -a "$from/prefix" "$prefix"; fi
  : >"$env_file"
  {
    echo "export WINEPREFIX=$prefix"
    echo "export WINEDEBUG=$WINEDEBUG"
    echo "export WINEDLLOVERRIDES=\"$WINEDLLOVERRIDES\""
    echo "export WINEARCH=$WINEARCH"
    echo "export QUILLMARK_FLOPPY=$dir/floppy"
  } >>"$env_file"
  start_display
  sed -i 's/^DISPLAY=/export DISPLAY=/' "$env_file"
  # shellcheck disable=SC1090
  . "$env_file"
  mkdir -p "$prefix"
  # The server must not hold our standard streams, or whoever reads them waits forever.
  # Every Wine step has a time limit: a step that hangs must fail the run, not stall it.
  # A prefix that has been booted needs no server until its services start below:
  # ending one that runs costs 2 s.
  if [ ! -f "$prefix/system.reg" ]; then
    wineserver -p </dev/null >/dev/null 2>&1
    timeout 300 wineboot -i </dev/null >/dev/null 2>&1
  fi
  # Wine's own fonts (Debian's fonts-wine, see scripts/install-deps.sh): Marlett draws
  # the symbols of the caption buttons, Tahoma the tooltips. Debian's Wine looks for
  # them in a folder the package does not fill; every Wine looks in the prefix's.
  for font in /usr/share/wine/fonts/*.ttf; do
    if [ -f "$font" ] && [ ! -e "$prefix/drive_c/windows/Fonts/${font##*/}" ]; then
      cp "$font" "$prefix/drive_c/windows/Fonts/"
    fi
  done
  mkdir -p "$dir/floppy" "$dir/fixed"
  rm -rf "$dir/nomedium"
  ln -sfn "$dir/floppy" "$prefix/dosdevices/a:"
  ln -sfn "$dir/nomedium" "$prefix/dosdevices/b:"
  ln -sfn "$dir/fixed" "$prefix/dosdevices/f:"
  unmount_small
  mkdir -p "$dir/small"
  if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k,mode=0777 quillmark-small "$dir/small" 2>/dev/null; then
    ln -sfn "$dir/small" "$prefix/dosdevices/t:"
    echo "export QUILLMARK_SMALL_DRIVE=T" >>"$env_file"
  else
    rm -f "$prefix/dosdevices/t:"
  fi
  # The drive types go straight into the stored registry while no server runs: a
  # registry tool started right after the first boot has been seen to hang. The mount
  # manager reads them when the services start again below, where they cannot hold
  # the streams of whoever runs the first test.
  timeout 60 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
  store_values "$prefix/system.reg" 'Software\\Wine\\Drives' '"a:"="floppy"' '"b:"="floppy"' '"f:"="hd"' '"t:"="hd"'
  # The HID bus's SDL backend wakes a thousand times a second to look for game
  # controllers, in every session and throughout the run: a tenth of a core taken from
  # the tests. The bus falls back to its udev backend, which waits without polling.
  store_values "$prefix/system.reg" 'System\\CurrentControlSet\\Services\\winebus' '"Enable SDL"=dword:00000000'
  # The program paints its own caption bar; a frame from the window manager would
  # take the caption's place and hide it.
  # On a display of its own there is no window manager, and a managed window would
  # make Wine wait up to 2 s for one whenever a window is hidden or destroyed. A
  # desktop of the user's (the demo's QUILLMARK_DISPLAY) has one, and unmanaged
  # windows would leave its taskbar.
  x11=('"Decorated"="N"')
  [ -n "${QUILLMARK_DISPLAY:-}" ] || x11+=('"Managed"="N"')
  store_values "$prefix/user.reg" 'Software\\Wine\\X11 Driver' "${x11[@]}"
  [ "$keep" = --seed ] && exit 0
  wineserver -p </dev/null >/dev/null 2>&1
  timeout 300 wineboot </dev/null >/dev/null 2>&1
  # A junction to the Windows folder, as the platform shows a link of the host.
  ln -sfn windows "$prefix/drive_c/WinLink"
  ;;
stop)
  stop
  ;;
*)
  echo "usage: $0 start|stop DIR [--keep|--from=SEED|--seed]" >&2
  exit 2
  ;;
esac
