#!/usr/bin/env bash
# Unattended backups beside the platform's own copy, in one Wine session:
#   - N files of 4 KB listed one by one in the further files (N = 1,000, 2,000, 4,000,
#     8,000), beside `xcopy /E /I /Y` of a folder holding the same N files, a bare loop
#     of the shell's copy call the program makes, one call per file (ShellCopyLoop.exe:
#     what the platform alone needs on the program's road), and `cp -r` of the folder
#     on the host as the floor;
#   - one folder of 200 MB in four files, listed as one entry, beside the same two.
# The program's start and end (an empty backup) and xcopy's (an empty folder) are
# measured too and taken off, so that the cost per item reads apart from the cost of
# starting a process under Wine; per item it should stay flat as N grows.
#   bash bench/backup.sh
# Environment: QUILLMARK_BIN a folder with Quillmark.exe and s.dll (default: build it
# into build/); QUILLMARK_OLD_BIN another build measured the same way for comparison;
# BACKUP_FILES the list sizes (default "1000 2000 4000 8000"); BACKUP_BIG_MB the
# folder's size (default 200); BENCH_RUNS runs of each measurement, the best counts
# (default 1).
set -euo pipefail
. "$(dirname "$0")/common.sh"
cd "$bench_root"
if [ -z "${QUILLMARK_BIN:-}" ]; then
  bash scripts/build.sh Quillmark >/dev/null
  QUILLMARK_BIN=build/bin
fi
bash scripts/build.sh ShellCopyLoop >/dev/null
loop=$bench_root/build/bin/ShellCopyLoop.exe
sizes=${BACKUP_FILES:-1000 2000 4000 8000}
big_mb=${BACKUP_BIG_MB:-200}
runs=${BENCH_RUNS:-1}
programs=("Quillmark=$(cd "$QUILLMARK_BIN" && pwd)")
if [ -n "${QUILLMARK_OLD_BIN:-}" ]; then programs+=("Quillmark (old)=$(cd "$QUILLMARK_OLD_BIN" && pwd)"); fi

bench_session backup
work=$bench_prefix/drive_c/bench
rm -rf "$work"
mkdir -p "$work/empty" "$work/big"
# One folder per list size, so that xcopy and cp copy exactly the files the program lists.
block=$(head -c 3072 /dev/urandom | base64 -w0)
for n in $sizes; do
  mkdir -p "$work/n$n"
  for ((i = 1; i <= n; i++)); do printf '%s' "$block" >"$work/n$n/f$i.dat"; done
done
per=$(((big_mb + 3) / 4))
for i in 1 2 3 4; do head -c $((per * 1048576)) /dev/urandom >"$work/big/part$i.bin"; done
sync

# Stores the settings: only the further files, the given Windows paths, target C:\bench\target\.
configure() {
  local reg=$work/settings.reg
  {
    printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\ZUNT]\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\ZUNT\\Pelmora]\r\n'
    for f in MSDOSBootFiles WindowsRegistry WinIniSystemIni StartMenu Desktop SaveInternet SaveNetscape SaveIExplorer; do
      printf '"%s"=dword:00000000\r\n' "$f"
    done
    printf '"OtherFiles"=dword:0000000%d\r\n"Target"="C:\\\\bench\\\\target\\\\"\r\n\r\n' "$(($# > 0 ? 1 : 0))"
    printf '[HKEY_CURRENT_USER\\Software\\ZUNT\\Pelmora\\OtherFiles]\r\n"Count"=dword:%08x\r\n' "$#"
    local i=0
    for p in "$@"; do printf '"%d"="%s"\r\n' "$i" "$p"; i=$((i + 1)); done
  } >"$reg"
  wrun regedit /s "$(winpath "$reg")"
}
# listed N: the Windows paths of the N files of folder nN, escaped for the .reg file.
listed() { for ((i = 1; i <= $1; i++)); do printf 'C:\\\\bench\\\\n%d\\\\f%d.dat\n' "$1" "$i"; done; }
# Seconds of one unattended backup by the program in folder $1, into a fresh target.
backup() {
  rm -rf "$work/target"; mkdir -p "$work/target"; sync
  local t0 t1 code=0
  t0=$(now)
  bash tests/harness/wine-run.sh "$1/Quillmark.exe" /auto >/dev/null 2>&1 </dev/null || code=$?
  t1=$(now)
  [ "$code" -eq 0 ] || { echo "the backup ended with $code" >&2; exit 1; }
  calc "$t1 - $t0"
}
# Seconds of `xcopy SOURCE TARGET /E /I /Y` for the folder C:\bench\$1.
xcopy_() {
  rm -rf "$work/xc"; sync
  local t0 t1
  t0=$(now)
  wrun xcopy "C:\\bench\\$1" "C:\\bench\\xc\\$1" /E /I /Y >/dev/null
  t1=$(now)
  calc "$t1 - $t0"
}
# Milliseconds of the bare loop of shell copy calls for the folder C:\bench\$1.
shell_loop() {
  rm -rf "$work/sh"; mkdir -p "$work/sh"; sync
  wrun "$loop" "C:\\bench\\$1" 'C:\bench\sh\'
}
# Seconds of `cp -r` of the folder $1 on the host.
cp_() {
  rm -rf "$work/cp"; mkdir -p "$work/cp"; sync
  local t0 t1
  t0=$(now)
  cp -r "$work/$1" "$work/cp/"
  t1=$(now)
  calc "$t1 - $t0"
}
# The runs of a case are interleaved: each round measures the program and every peer
# once, in turn, so that a machine that slows down or speeds up over the minutes
# weighs on all of them alike; the best round of each counts.
declare -A got
# round NAME COMMAND...: adds one figure of COMMAND to NAME's.
round() {
  local name=$1
  shift
  got[$name]+="$("$@") "
}
best_of() { tr ' ' '\n' <<<"${got[$1]}" | grep . | best; }

# The first start of a program in a fresh prefix is not what is measured.
configure
for p in "${programs[@]}"; do backup "${p#*=}" >/dev/null; done
wrun xcopy 'C:\bench\empty' 'C:\bench\xc\empty' /E /I /Y >/dev/null || true
got=()
for ((r = 0; r < runs; r++)); do
  round xcopy xcopy_ empty
  for p in "${programs[@]}"; do round "$p" backup "${p#*=}"; done
done
xcopy_start=$(best_of xcopy)
declare -A start per_item
for p in "${programs[@]}"; do start[$p]=$(best_of "$p"); done

configure 'C:\\bench\\big'
got=()
for ((r = 0; r < runs; r++)); do
  round xcopy xcopy_ big
  round cp cp_ big
  for p in "${programs[@]}"; do round "$p" backup "${p#*=}"; done
done
xc=$(best_of xcopy)
cpr=$(best_of cp)
for p in "${programs[@]}"; do
  t=$(best_of "$p")
  row "backup, one ${big_mb} MB folder [${p%%=*}]" s "$t" "xcopy" "$xc"
  row "backup, one ${big_mb} MB folder [${p%%=*}]" s "$t" "cp -r" "$cpr"
done

for n in $sizes; do
  mapfile -t files < <(listed "$n")
  configure "${files[@]}"
  got=()
  for ((r = 0; r < runs; r++)); do
    round xcopy xcopy_ "n$n"
    round cp cp_ "n$n"
    round loop shell_loop "n$n"
    for p in "${programs[@]}"; do round "$p" backup "${p#*=}"; done
  done
  xc=$(best_of xcopy)
  cpr=$(best_of cp)
  sh_item=$(calc "$(best_of loop) / $n")
  xc_item=$(calc "($xc - $xcopy_start) * 1000 / $n")
  cp_item=$(calc "$cpr * 1000 / $n")
  for p in "${programs[@]}"; do
    t=$(best_of "$p")
    item=$(calc "($t - ${start[$p]}) * 1000 / $n")
    row "backup, $n files of 4 KB [${p%%=*}]" s "$t" "xcopy" "$xc"
    row "  per item, net of start [${p%%=*}]" ms "$item" "xcopy" "$xc_item"
    row "  per item, net of start [${p%%=*}]" ms "$item" "bare shell copy loop" "$sh_item"
    row "  per item, net of start [${p%%=*}]" ms "$item" "cp -r" "$cp_item"
    per_item[$p,$n]=$item
  done
done
# Flat means the cost of an item does not grow with the length of the list.
first=${sizes%% *}
last=${sizes##* }
if [ "$first" != "$last" ]; then
  for p in "${programs[@]}"; do
    row "  per item at $last beside at $first [${p%%=*}]" ms "${per_item[$p,$last]}" "$first files" "${per_item[$p,$first]}"
  done
fi
rm -rf "$work"
bench_report
