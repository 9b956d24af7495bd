#!/usr/bin/env bash
# Unattended backups measured beside cp -r of the same sources, in one Wine session:
#   (a) 2,000 files of 4 KB listed one by one in OtherFileList,
#   (b) one folder of 200 MB in a few large files,
# and how the backup's time grows from 1,000 to 2,000 to 4,000 listed files.
# The program's own start and end (an empty backup) is measured too and taken off,
# so that the cost per entry can be read apart from the cost of starting Wine.
# QUILLMARK_BIN names a folder with Quillmark.exe and s.dll (default: build it into build/).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${QUILLMARK_BIN:-}" ]; then
  bash scripts/build.sh Quillmark
  QUILLMARK_BIN=build/bin
fi
bin=$(cd "$QUILLMARK_BIN" && pwd)
session=$(pwd)/${BENCH_SESSION:-build/bench-backup-wine}
bash tests/harness/wine-session.sh start "$session" >/dev/null
trap 'bash tests/harness/wine-session.sh stop "$session"' EXIT
export QUILLMARK_WINE_ENV=$session/env
run() { bash tests/harness/wine-run.sh "$@" 2>/dev/null; }
c=$session/prefix/drive_c
work=$c/bench
rm -rf "$work"
mkdir -p "$work/small" "$work/big"
for i in $(seq 1 4000); do head -c 4096 /dev/urandom >"$work/small/f$i.dat"; done
for i in 1 2 3 4; do head -c $((50 * 1048576)) /dev/urandom >"$work/big/part$i.bin"; done

now() { date +%s.%N; }
# Stores the settings: only further files, the given Windows paths, target C:\bench\target\.
configure() {
  local reg=$work/settings.reg
  {
    printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\ZUNT]\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\ZUNT\\Pelmora]\r\n'
    for f in MSDOSBootFiles WindowsRegistry WinIniSystemIni StartMenu Desktop SaveInternet SaveNetscape SaveIExplorer; do
      printf '"%s"=dword:00000000\r\n' "$f"
    done
    printf '"OtherFiles"=dword:0000000%d\r\n"Target"="C:\\\\bench\\\\target\\\\"\r\n\r\n' "$(( $# > 0 ? 1 : 0 ))"
    printf '[HKEY_CURRENT_USER\\Software\\ZUNT\\Pelmora\\OtherFiles]\r\n"Count"=dword:%08x\r\n' "$#"
    local i=0
    for p in "$@"; do printf '"%d"="%s"\r\n' "$i" "$p"; i=$((i + 1)); done
  } >"$reg"
  run regedit /s "$(run winepath -w "$reg" | tr -d '\r')"
}
# Seconds of one unattended backup into a fresh target.
backup() {
  rm -rf "$work/target"; mkdir -p "$work/target"; sync
  local t0 t1; t0=$(now)
  run "$bin/Quillmark.exe" /auto || { echo "backup ended with $?" >&2; exit 1; }
  t1=$(now)
  echo "$t1 - $t0" | bc -l
}
# Seconds of cp -r of the given unix paths into a fresh folder.
copy() {
  rm -rf "$work/cp"; mkdir -p "$work/cp"; sync
  local t0 t1; t0=$(now)
  cp -r "$@" "$work/cp/"
  t1=$(now)
  echo "$t1 - $t0" | bc -l
}
listed() { for i in $(seq 1 "$1"); do printf 'C:\\\\bench\\\\small\\\\f%d.dat\n' "$i"; done; }
best() { sort -g | head -1; }
fmt() { printf '%.3f' "$1"; }

configure
run "$bin/Quillmark.exe" /auto || true
empty=$( (backup; backup; backup) | best)
echo "empty backup (program start and end): $(fmt "$empty") s"

mapfile -t two < <(listed 2000)
configure "${two[@]}"
qa=$( (backup; backup) | best)
ca=$( (for _ in 1 2; do copy "$work"/small/f{1..2000}.dat; done) | best)
echo "(a) 2,000 files of 4 KB: backup $(fmt "$qa") s, net of start $(fmt "$(echo "$qa - $empty" | bc -l)") s;" \
  "cp -r $(fmt "$ca") s; ratio $(fmt "$(echo "$qa / $ca" | bc -l)"), net $(fmt "$(echo "($qa - $empty) / $ca" | bc -l)")"

configure 'C:\\bench\\big'
qb=$( (backup; backup) | best)
cb=$( (copy "$work/big"; copy "$work/big") | best)
echo "(b) one folder of 200 MB: backup $(fmt "$qb") s, net of start $(fmt "$(echo "$qb - $empty" | bc -l)") s;" \
  "cp -r $(fmt "$cb") s; ratio $(fmt "$(echo "$qb / $cb" | bc -l)"), net $(fmt "$(echo "($qb - $empty) / $cb" | bc -l)")"

echo "growth with the number of listed files (net of start, per entry):"
for n in 1000 2000 4000; do
  mapfile -t files < <(listed "$n")
  configure "${files[@]}"
  t=$( (backup; backup) | best)
  net=$(echo "$t - $empty" | bc -l)
  echo "  $n files: $(fmt "$t") s, net $(fmt "$net") s, $(fmt "$(echo "$net * 1000 / $n" | bc -l)") ms per entry"
done
