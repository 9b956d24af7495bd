#!/usr/bin/env bash
# Emptying a folder of 20,000 small files: the program's Temp command under Wine beside
# `find DIR -maxdepth 1 -type f -delete` on an identical folder. Not part of the tests.
#   bench/sweep-bench.sh [BUILD_DIR] [FILES]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build-cleanup}" && pwd)
files=${2:-20000}
program=$build/bin/Quillmark.exe
[ -f "$program" ] || { echo "build the program first: $program" >&2; exit 1; }

out=$build/bench
mkdir -p "$out"
x86_64-w64-mingw32-g++ -std=c++20 -O2 -static -o "$out/SweepDriver.exe" "$here/SweepDriver.cpp"

session=$out/sweep-wine
bash "$root/tests/harness/wine-session.sh" start "$session"
trap 'bash "$root/tests/harness/wine-session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/env"

# Both folders on the same file system, filled the same way.
work=$WINEPREFIX/drive_c/sweepbench
rm -rf "$work"
mkdir -p "$work/temp"
(cd "$work/temp" && seq -f "~DF%05g.tmp" 1 "$files" | xargs -n 2000 sh -c 'for f; do printf "temporary data\n" > "$f"; done' sh)
cp -a "$work/temp" "$work/find"
cp -a "$work/temp" "$work/bare"
[ "$(ls "$work/temp" | wc -l)" -eq "$files" ] || { echo "could not lay out $files files" >&2; exit 1; }

# Wine's first start in a fresh prefix is not what is measured.
wine "$out/SweepDriver.exe" "$(winepath -w "$program")" 'C:\sweepbench\empty\' >/dev/null 2>&1 </dev/null || true

program_ms=$(wine "$out/SweepDriver.exe" "$(winepath -w "$program")" 'C:\sweepbench\temp\' </dev/null 2>/dev/null | tr -d '\r')
left=$(ls -A "$work/temp" | wc -l)
bare_ms=$(wine "$out/SweepDriver.exe" --bare 'C:\sweepbench\bare\' </dev/null 2>/dev/null | tr -d '\r')

start=$(date +%s%N)
find "$work/find" -maxdepth 1 -type f -delete
end=$(date +%s%N)
find_ms=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) / 1e6 }')

echo "files:            $files"
echo "Temp command:     $program_ms ms ($left left)"
echo "find -delete:     $find_ms ms"
awk -v p="$program_ms" -v f="$find_ms" 'BEGIN { printf "ratio:            %.2f\n", p / f }'
# The same listing and delete calls without the program: what Wine itself needs.
echo "bare DeleteFileA: $bare_ms ms"
rm -rf "$work"
