#!/usr/bin/env bash
# Checks that a 32-bit program imports only what Windows 95 exports: every imported
# function of every system library must stand in scripts/win95-exports/<library>.txt.
# msvcrt.dll is taken as present (the usual updates of that system brought it).
#   check-imports.sh PROGRAM.exe
set -euo pipefail
exe=${1:?program}
lists=$(cd "$(dirname "$0")" && pwd)/win95-exports
objdump=$(command -v i686-w64-mingw32-objdump || command -v objdump)

# "DLL Name: X" opens a library's table; its entries are "<vma> <hint> <name>" lines.
imports=$("$objdump" -p "$exe" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  /^$/ && dll != "" && seen { dll = ""; seen = 0; next }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $3; seen = 1 }')
[ -n "$imports" ] || { echo "check-imports: no imports read from $exe" >&2; exit 1; }

bad=0
while read -r dll name; do
  [ "$dll" = msvcrt.dll ] && continue
  list=$lists/${dll%.dll}.txt
  if [ ! -f "$list" ]; then
    echo "check-imports: $exe imports $dll, which has no list of Windows 95 exports" >&2
    bad=1
  elif ! grep -qx -- "$name" "$list"; then
    echo "check-imports: $dll!$name is not exported by Windows 95" >&2
    bad=1
  fi
done <<<"$imports"
if [ "$bad" -ne 0 ]; then exit 1; fi
echo "check-imports: $(wc -l <<<"$imports") imports of $(basename "$exe") are all in Windows 95"
