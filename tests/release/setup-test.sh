#!/usr/bin/env bash
# The 64-bit setup from dist/ as a user meets it, in the test run's fresh Wine prefix:
# it installs silently into a folder of the user's choice with a Start-menu folder,
# the installed program starts and shows its window, and the uninstaller leaves
# nothing behind but a file the user put into the program's folder.
#   setup-test.sh DIST_FOLDER
set -euo pipefail
dist=${1:?dist folder}
setup=$dist/Quillmark/Setup64.exe
[ -f "$setup" ] || { echo "no $setup: run scripts/dist.sh first" >&2; exit 1; }
# shellcheck disable=SC1090
. "${QUILLMARK_WINE_ENV:?}"

fail() { echo "setup-test: $*" >&2; exit 1; }
c=$WINEPREFIX/drive_c
# Everything on drive C: and in the machine's registry, less what Wine itself changes
# whatever runs (its temporary files, its own logs).
snapshot() {
  { find "$c" -path "$c/users/*/Temp" -prune -o -path "$c/windows/temp" -prune -o -print
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s || true
    wine reg query 'HKLM\Software\Microsoft\Windows\Help' /s || true; } 2>/dev/null | tr -d '\r' | sort
}
before=$(snapshot)

wine "$setup" /S '/D=C:\Werkzeug\Quillmark' || fail "setup ended with $?"
dir=$c/Werkzeug/Quillmark
for f in Quillmark.exe s.dll Kelvrane.exe Pelmora.hlp Pelmora.cnt LIESMICH.TXT Uninstall.exe; do
  [ -f "$dir/$f" ] || fail "$f not installed"
done
lnk=$(find "$c" -path '*Start Menu/Programs/Quillmark/Quillmark.lnk' | head -1)
[ -n "$lnk" ] || fail "no Start-menu entry"
wine reg query 'HKLM\Software\Microsoft\Windows\Help' /v Pelmora.hlp 2>/dev/null | grep -qi 'Werkzeug' ||
  fail "help folder not registered"

# The installed program opens its main window.
(cd "$dir" && exec wine Quillmark.exe) &
pid=$!
shown=
for _ in $(seq 1 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q "\"Ardo's Quillmark \""; then shown=1; break; fi
  sleep 0.5
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ -n "$shown" ] || fail "the installed program showed no window"

echo "meine Notiz" >"$dir/Notiz.txt"
wine "$dir/Uninstall.exe" /S || fail "uninstaller ended with $?"
# The uninstaller runs on from a copy of itself, so that it can delete the original.
for _ in $(seq 1 60); do [ -f "$dir/Uninstall.exe" ] || break; sleep 0.5; done
for f in Quillmark.exe s.dll Kelvrane.exe Pelmora.hlp Pelmora.cnt LIESMICH.TXT Uninstall.exe; do
  [ ! -e "$dir/$f" ] || fail "$f left behind"
done
[ -f "$dir/Notiz.txt" ] || fail "the user's file was removed"
rm -f "$dir/Notiz.txt"
rmdir "$dir" "$c/Werkzeug"

after=$(snapshot)
if [ "$before" != "$after" ]; then
  diff <(echo "$before") <(echo "$after") >&2 || true
  fail "the uninstaller left these behind"
fi
echo "setup-test: installed, started and removed cleanly"
