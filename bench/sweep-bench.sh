#!/usr/bin/env bash
# Emptying a folder of 20,000 small files, each way on an identical folder in one Wine
# session: the program's "Temp-Verzeichnis leeren" (the command alone, timed from the
# running program), the platform's `cmd /c del /q FOLDER\*` (with the start of cmd),
# a bare loop of the same listing and DeleteFileA calls (what Wine itself needs), and
# `find DIR -maxdepth 1 -type f -delete` on the host as the floor.
#   bash bench/sweep-bench.sh
# Environment: QUILLMARK_BIN a folder with Quillmark.exe and SweepDriver.exe (default:
# build both into build/); SWEEP_FILES the number of files (default 20000).
set -euo pipefail
. "$(dirname "$0")/common.sh"
cd "$bench_root"
if [ -z "${QUILLMARK_BIN:-}" ]; then
  bash scripts/build.sh Quillmark SweepDriver >/dev/null
  QUILLMARK_BIN=build/bin
fi
bin=$(cd "$QUILLMARK_BIN" && pwd)
files=${SWEEP_FILES:-20000}

bench_session sweep
work=$bench_prefix/drive_c/sweepbench
rm -rf "$work"
mkdir -p "$work/temp" "$work/empty"
for ((i = 1; i <= files; i++)); do
  printf -v name '~DF%05d.tmp' "$i"
  printf 'temporary data\n' >"$work/temp/$name"
done
for copy in cmd bare find; do cp -a "$work/temp" "$work/$copy"; done
[ "$(ls "$work/temp" | wc -l)" -eq "$files" ] || { echo "could not lay out $files files" >&2; exit 1; }
driver=$(winpath "$bin/SweepDriver.exe")
program=$(winpath "$bin/Quillmark.exe")

# Wine's first start of each program in the session is not what is measured.
wrun "$driver" "$program" 'C:\sweepbench\empty\' >/dev/null || true
wrun "$driver" --cmd 'C:\sweepbench\empty' >/dev/null || true

program_ms=$(wrun "$driver" "$program" 'C:\sweepbench\temp\')
left=$(ls -A "$work/temp" | wc -l)
[ "$left" -eq 0 ] || echo "the Temp command left $left files" >&2
cmd_ms=$(wrun "$driver" --cmd 'C:\sweepbench\cmd')
bare_ms=$(wrun "$driver" --bare 'C:\sweepbench\bare\')
start=$(date +%s%N)
find "$work/find" -maxdepth 1 -type f -delete
end=$(date +%s%N)
find_ms=$(calc "($end - $start) / 1000000")
rm -rf "$work"

label="Temp sweep, $files files"
row "$label" ms "$program_ms" "cmd /c del /q" "$cmd_ms"
row "$label" ms "$program_ms" "bare DeleteFileA loop" "$bare_ms"
row "$label" ms "$program_ms" "find -delete" "$find_ms"
bench_report
